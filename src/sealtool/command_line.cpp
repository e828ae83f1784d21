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
  return UsageError(kSealUsage, problem, err);
}

// Why a file failed, after its path.
std::string FailureReason(const SealResult& r) {
  switch (r.problem) {
    case SealProblem::CannotRead:
      return "cannot read it (" + r.error.message() + ")";
    case SealProblem::Damaged:
      return "damaged (" + ToUtf8(r.detail) + "), left unchanged";
    case SealProblem::OutOfMemory:
      return "out of memory, left unchanged";
    case SealProblem::LostCharacter: {
      // Unlike the window's Windows-1251 text, the terminal can show the character itself.
      std::string shown;
      if (r.lost.character != kBrokenUtf8) shown = ": «" + r.lostBytes + "»";
      return "not encrypted (" + ToUtf8(LostCharacterText(r)) + shown + "), left unchanged";
    }
    default:
      return "cannot write it (" + r.error.message() + "), left unchanged";
  }
}

// The line printed for a file: what happened to it first, so that scripts can pick it out.
std::string ResultLine(const SealResult& r, CipherKind kind) {
  const std::string path = r.file.string();
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
  return "failed " + path + ": " + FailureReason(r);
}

// What the arguments ask for.
struct Request {
  Operation op;
  CipherKind kind;
  std::string target;  // as typed
};

std::optional<Operation> OperationNamed(const std::string& arg) {
  if (arg == "--encrypt") return Operation::EncryptFolder;
  if (arg == "--encrypt-file") return Operation::EncryptFile;
  if (arg == "--decrypt") return Operation::DecryptFolder;
  if (arg == "--decrypt-file") return Operation::DecryptFile;
  return std::nullopt;
}

bool Decrypts(Operation op) {
  return op == Operation::DecryptFolder || op == Operation::DecryptFile;
}

bool OnOneFile(Operation op) {
  return op == Operation::EncryptFile || op == Operation::DecryptFile;
}

// The request the arguments make, or nothing with `problem` saying what is wrong with them.
std::optional<Request> ReadArguments(const std::vector<std::string>& args, std::string& problem) {
  std::optional<Operation> op;
  bool strong = false;
  std::optional<std::string> target;
  for (const std::string& arg : args) {
    if (std::optional<Operation> named = OperationNamed(arg)) {
      if (op) {
        problem = "more than one operation";
        return std::nullopt;
      }
      op = named;
    } else if (arg == "--strong") {
      strong = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      problem = "unknown option " + arg;
      return std::nullopt;
    } else if (target) {
      problem = "more than one path";
      return std::nullopt;
    } else {
      target = arg;
    }
  }
  if (!op)
    problem = "no operation";
  else if (!target)
    problem = "no path";
  else if (strong && Decrypts(*op))
    problem = "strongly encrypted files cannot be decrypted";
  else
    return Request{*op, strong ? CipherKind::Strong : CipherKind::Ordinary, *target};
  return std::nullopt;
}

// Each of these carries the request out and appends what happened to each file to `results`.
// They return 0, or the exit status when the target was refused before any file was touched.

int SealOneFile(const Request& request, std::ostream& err, std::vector<SealResult>& results) {
  const fs::path file(request.target);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return Usage(err, "no such file: " + request.target);
  if (request.op == Operation::DecryptFile) {
    results.push_back(DecryptFile(file));
    return 0;
  }
  if (!IsScrambledByThePlayer(file.filename().string())) {
    err << "mirseal: " << request.target << ": " << ToUtf8(NotScrambledByThePlayerText()) << "\n";
    return kSealExitFailed;
  }
  results.push_back(EncryptFile(file, request.kind));
  return 0;
}

int SealFolder(const Request& request, std::ostream& err, std::vector<SealResult>& results) {
  const fs::path folder(request.target);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return Usage(err, "no such folder: " + request.target);
  const std::vector<std::string> names = SealFileNames(folder);
  if (names.empty()) err << "mirseal: no location or list files in " << request.target << "\n";
  results = request.op == Operation::EncryptFolder ? EncryptFiles(folder, names, request.kind)
                                                   : DecryptFiles(folder, names);
  return 0;
}

}  // namespace

int SealCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (const std::optional<int> answered = AnswerHelpOrVersion(kSealUsage, args, out))
    return *answered;
  std::string problem;
  const std::optional<Request> request = ReadArguments(args, problem);
  if (!request) return Usage(err, problem);
  std::vector<SealResult> results;
  const int refused = OnOneFile(request->op) ? SealOneFile(*request, err, results)
                                             : SealFolder(*request, err, results);
  if (refused) return refused;
  for (const SealResult& r : results) out << ResultLine(r, request->kind) << "\n";
  out.flush();
  return AnyFailed(results) ? kSealExitFailed : kSealExitOk;
}

}  // namespace mireval::seal
