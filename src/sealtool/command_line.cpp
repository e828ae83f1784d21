#include "sealtool/command_line.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <system_error>

#include "engine/text.h"
#include "sealtool/seal_files.h"
#include "sealtool/seal_form.h"

namespace fs = std::filesystem;

namespace mireval::seal {

namespace {

enum class Operation { EncryptFolder, EncryptFile, DecryptFolder };

int Usage(std::ostream& err, const std::string& problem) {
  err << "mirseal: " << problem
      << " (usage: mirseal --encrypt [--strong] DIR | --encrypt-file [--strong] FILE | "
         "--decrypt DIR; with no arguments the window opens)\n";
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
      return "failed " + path + ": cannot read it";
    case SealProblem::Damaged:
      return "failed " + path + ": damaged (" + ToUtf8(r.detail) + "), left unchanged";
    default:
      return "failed " + path + ": cannot write it, left unchanged";
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
  if (strong && *op == Operation::DecryptFolder)
    return Usage(err, "strongly encrypted files cannot be decrypted");
  CipherKind kind = strong ? CipherKind::Strong : CipherKind::Ordinary;

  fs::path path(*target);
  std::error_code ec;
  std::vector<SealResult> results;
  if (*op == Operation::EncryptFile) {
    if (!fs::is_regular_file(path, ec)) return Usage(err, "no such file: " + *target);
    results.push_back(EncryptFile(path, kind));
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
