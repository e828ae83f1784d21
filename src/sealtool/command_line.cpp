#include "sealtool/command_line.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <system_error>

#include "base/text.h"
#include "sealtool/seal_files.h"
#include "sealtool/seal_form.h"

namespace fs = std::filesystem;

namespace mireval::seal {

namespace {

enum class Operation { EncryptFolder, EncryptFile, DecryptFolder, DecryptFile };

int Usage(std::ostream& err, const std::string& problem) {
  err << "mirseal: " << problem
      << " (usage: mirseal --encrypt [--strong] DIR | --encrypt-file [--strong] FILE | "
         "--decrypt DIR | --decrypt-file FILE; with no arguments the window opens)\n";
  return kSealExitUsage;
}

std::string Line(const SealResult& r, CipherKind kind) {
  std::string path = r.file.string();
  switch (r.outcome) {
    case SealOutcome::Encrypted:
      return "encrypted " + path + (kind == CipherKind::Strong ? " (strong)" : "");
    case SealOutcome::AlreadyEncrypted:
      return "skipped " + path + " (already encrypted)";
    case SealOutcome::Decrypted:
      return "decrypted " + path;
    case SealOutcome::NotDecrypted:
      return "skipped " + path + " (not ordinarily encrypted)";
    case SealOutcome::Failed:
      break;
  }
  switch (r.problem) {
    case SealProblem::CannotRead:
      return "failed " + path + ": cannot read it (" + r.error.message() + ")";
    case SealProblem::Damaged:
      return "failed " + path + ": damaged (" + ToUtf8(r.detail) + "), left unchanged";
    case SealProblem::OutOfMemory:
      return "failed " + path + ": out of memory, left unchanged";
    default:
      return "failed " + path + ": cannot write it (" + r.error.message() + "), left unchanged";
  }
}

}  // namespace

int SealCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<Operation> op;
  bool strong = false;
  std::optional<std::string> target;
  for (const std::string& arg : args) {
    std::optional<Operation> named;
    if (arg == "--encrypt")
      named = Operation::EncryptFolder;
    else if (arg == "--encrypt-file")
      named = Operation::EncryptFile;
    else if (arg == "--decrypt")
      named = Operation::DecryptFolder;
    else if (arg == "--decrypt-file")
      named = Operation::DecryptFile;
    else if (arg == "--strong")
      strong = true;
    else if (arg.size() > 1 && arg[0] == '-')
      return Usage(err, "unknown option " + arg);
    else if (target)
      return Usage(err, "more than one path");
    else
      target = arg;
    if (named) {
      if (op) return Usage(err, "more than one operation");
      op = named;
    }
  }
  if (!op) return Usage(err, "no operation");
  if (!target) return Usage(err, "no path");
  const bool decrypt = *op == Operation::DecryptFolder || *op == Operation::DecryptFile;
  if (strong && decrypt) return Usage(err, "strongly encrypted files cannot be decrypted");
  CipherKind kind = strong ? CipherKind::Strong : CipherKind::Ordinary;

  fs::path path(*target);
  std::error_code ec;
  std::vector<SealResult> results;
  if (*op == Operation::EncryptFile || *op == Operation::DecryptFile) {
    if (!fs::is_regular_file(path, ec)) return Usage(err, "no such file: " + *target);
    if (*op == Operation::DecryptFile) {
      results.push_back(DecryptFile(path));
    } else if (!IsScrambledByThePlayer(path.filename().string())) {
      err << "mirseal: " << *target << ": " << ToUtf8(NotScrambledByThePlayerText()) << "\n";
      return kSealExitFailed;
    } else {
      results.push_back(EncryptFile(path, kind));
    }
  } else {
    if (!fs::is_directory(path, ec)) return Usage(err, "no such folder: " + *target);
    std::vector<std::string> names = SealFileNames(path);
    if (names.empty()) err << "mirseal: no location or list files in " << *target << "\n";
    results = *op == Operation::EncryptFolder ? EncryptFiles(path, names, kind)
                                              : DecryptFiles(path, names);
  }
  for (const SealResult& r : results) out << Line(r, kind) << "\n";
  out.flush();
  return AnyFailed(results) ? kSealExitFailed : kSealExitOk;
}

}  // namespace mireval::seal
