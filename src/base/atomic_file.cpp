#include "base/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>
#include <random>
#include <utility>

#include "base/files.h"
#include "base/text.h"

namespace fs = std::filesystem;

namespace mireval {

namespace {

class ReplaceCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "mireval.replace"; }
  std::string message(int) const override { return "the file is read-only"; }
  std::error_condition default_error_condition(int) const noexcept override {
    return std::errc::permission_denied;
  }
};

// ".mv" and eight letters or digits: short, because the target's name may already be close to
// the 255 bytes a name can have, and the temporary file must fit beside it.
constexpr std::string_view kTempPrefix = ".mv";
constexpr std::size_t kTempRandom = 8;
constexpr std::string_view kTempLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A temporary file this old belongs to a run that ended without cleaning up.
constexpr std::time_t kStaleSeconds = 24 * 60 * 60;
constexpr int kNameAttempts = 100;

bool IsTempName(std::string_view name) {
  if (name.size() != kTempPrefix.size() + kTempRandom ||
      name.substr(0, kTempPrefix.size()) != kTempPrefix)
    return false;
  return name.find_first_not_of(kTempLetters, kTempPrefix.size()) == std::string_view::npos;
}

std::string TempName() {
  unsigned char raw[kTempRandom];
  if (::getrandom(raw, sizeof raw, 0) != static_cast<ssize_t>(sizeof raw)) {
    std::random_device device;
    for (unsigned char& c : raw) c = static_cast<unsigned char>(device());
  }
  std::string name(kTempPrefix);
  for (unsigned char c : raw) name += kTempLetters[c % kTempLetters.size()];
  return name;
}

// Only regular files of our own pattern, looked at without following links: whatever else carries
// such a name is not ours to remove.
void RemoveStaleTemps(const fs::path& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
      continue;
    if (now - st.st_mtime > kStaleSeconds) ::unlinkat(dirFd, entry->d_name, 0);
  }
  ::closedir(dir);
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the rename is done; failing to make it durable is no reason to report failure
  ::close(fd);
}

}  // namespace

std::error_code make_error_code(ReplaceError e) {
  static const ReplaceCategory category;
  return {static_cast<int>(e), category};
}

AtomicFileWriter::AtomicFileWriter(const fs::path& target) {
  file_ = RealPath(target, error_);
  if (error_) return;

  struct stat old {};
  const bool existing = ::stat(file_.c_str(), &old) == 0;
  if (!existing && errno != ENOENT) {
    Fail(errno);
    return;
  }
  if (existing) {
    if (S_ISDIR(old.st_mode)) {
      Fail(EISDIR);
      return;
    }
    if (!(old.st_mode & S_IWUSR)) {
      error_ = ReplaceError::ReadOnlyTarget;
      return;
    }
    if (::faccessat(AT_FDCWD, file_.c_str(), W_OK, AT_EACCESS) != 0) {
      if (errno == EACCES)
        error_ = ReplaceError::ReadOnlyTarget;
      else
        Fail(errno);
      return;
    }
  }

  const fs::path folder = file_.parent_path();
  RemoveStaleTemps(folder);
  for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
    fs::path candidate = folder / TempName();
    // The mode of a new file is what any newly created file gets (0666 less the umask).
    fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ >= 0)
      temp_ = std::move(candidate);
    else if (errno != EEXIST)
      break;
  }
  if (fd_ < 0) {
    Fail(errno);
    return;
  }

  if (existing) {
    // Owner first: changing it may clear the set-id bits that the mode then restores. Only a
    // privileged process may give a file away, and not keeping the owner is no reason to fail.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
      (void)::fchown(fd_, old.st_uid, old.st_gid);
    if (::fchmod(fd_, old.st_mode & 07777) != 0) Fail(errno);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

void AtomicFileWriter::Fail(int errnoValue) {
  if (!error_) error_ = std::error_code(errnoValue, std::system_category());
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  while (!error_ && !bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail(errno);
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return !error_;
}

std::error_code AtomicFileWriter::Commit() {
  if (!error_ && ::fsync(fd_) != 0) Fail(errno);
  if (!error_) {
    const int fd = std::exchange(fd_, -1);
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0 && errno != EINTR) Fail(errno);
  }
  if (!error_ && ::rename(temp_.c_str(), file_.c_str()) != 0) Fail(errno);
  if (error_) {
    Discard();
    return error_;
  }
  committed_ = true;
  SyncFolder(file_.parent_path());
  return {};
}

bool WriteFileAtomically(const fs::path& p, std::string_view bytes, std::error_code& ec) {
  AtomicFileWriter out(p);
  out.Write(bytes);
  ec = out.Commit();
  return !ec;
}

bool WriteFileAtomically(const fs::path& p, std::string_view bytes) {
  std::error_code ec;
  return WriteFileAtomically(p, bytes, ec);
}

std::string WriteFailureText(const std::error_code& ec) {
  // The system's category knows no portable name for an exceeded quota.
  const bool quota =
      (ec.category() == std::system_category() || ec.category() == std::generic_category()) &&
      ec.value() == EDQUOT;
  if (ec == std::errc::no_space_on_device || quota) return "Недостаточно места на диске."_cp;
  if (ec == ReplaceError::ReadOnlyTarget) return "Нет прав на запись: файл защищён от записи."_cp;
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system)
    return "Нет прав на запись."_cp;
  return "Ошибка записи: "_cp + FromUtf8(ec.message());
}

}  // namespace mireval
