#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "base/text.h"

namespace fs = std::filesystem;

namespace mireval {

std::vector<fs::path> DefaultDriveRoots() {
  std::vector<fs::path> roots{fs::path("/")};
  if (const char* home = std::getenv("HOME"); home && *home && std::string_view(home) != "/")
    roots.emplace_back(home);
  return roots;
}

std::string PathText(const fs::path& p) {
  return FromUtf8(p.string());
}

namespace {

// One step of a case-insensitive walk: `part` under `dir`, as stored when it exists, else the
// entry whose name matches it without regard to letter case, else as written.
fs::path MatchComponent(const fs::path& dir, const fs::path& part) {
  std::error_code ec;
  fs::path exact = dir / part;
  if (fs::exists(exact, ec)) return exact;
  std::string wanted = FromUtf8(part.string());
  // The authors' file systems drop blanks and dots at the end of a name, and script lines often
  // carry such a blank: a command reply's "КАР 2 pic.png " names pic.png.
  while (!wanted.empty() && (wanted.back() == ' ' || wanted.back() == '.')) wanted.pop_back();
  // "?" stands for a letter the code page lacks: it names no file of its own, and matching it
  // would pick whichever such name comes first.
  if (wanted.find('?') != std::string::npos) return exact;
  const fs::path where = dir.empty() ? fs::path(".") : dir;
  for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCase(FromUtf8(it->path().filename().string()), wanted))
      return dir / it->path().filename();
  }
  return exact;
}

// A name as written by an author, "\" read as a separator.
fs::path AuthorPath(std::string_view cp1251Path) {
  std::string s = ToUtf8(cp1251Path);
  for (char& c : s)
    if (c == '\\') c = '/';
  return fs::path(s);
}

}  // namespace

fs::path ResolveFrom(const fs::path& base, std::string_view cp1251Path) {
  const fs::path in = AuthorPath(cp1251Path).relative_path();
  fs::path out = base;
  std::error_code ec;
  // Most names are written as they are stored: when the whole path exists, so does every part,
  // and one look settles it.
  const bool exists = fs::exists(base / in, ec);
  for (const fs::path& part : in) {
    std::string name = part.string();
    if (name.empty() || name == ".") continue;
    out = exists || name == ".." ? out / part : MatchComponent(out, part);
  }
  return out;
}

fs::path ResolvePath(std::string_view cp1251Path) {
  return ResolveFrom(AuthorPath(cp1251Path).root_path(), cp1251Path);
}

std::optional<fs::path> ResolveUnder(const fs::path& folder, std::string_view cp1251Name) {
  const fs::path in = AuthorPath(cp1251Name);
  if (in.has_root_path()) return std::nullopt;
  for (const fs::path& part : in)
    if (part == "..") return std::nullopt;
  return ResolveFrom(folder, cp1251Name);
}

fs::path RealPath(const fs::path& file, std::error_code& ec) {
  constexpr int kLinkHops = 40;  // as the system's own limit on links in one path
  fs::path p = file;
  for (int hop = 0; hop < kLinkHops; ++hop) {
    std::error_code probe;
    if (!fs::is_symlink(fs::symlink_status(p, probe)) || fs::exists(p, probe)) break;
    fs::path to = fs::read_symlink(p, probe);
    if (probe) break;
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  return fs::weakly_canonical(p, ec);
}

bool IsWithin(const fs::path& path, const fs::path& place) {
  auto r = place.begin(), f = path.begin();
  for (; r != place.end(); ++r, ++f) {
    if (r->empty() && std::next(r) == place.end()) break;  // a place given with a trailing "/"
    if (f == path.end() || *r != *f) return false;
  }
  return true;
}

bool LiesInside(const fs::path& file, const fs::path& root) {
  std::error_code ec;
  fs::path real = RealPath(file, ec);
  return !ec && IsWithin(real, root);
}

int OpenRegularFile(const fs::path& p, std::error_code& ec, std::uintmax_t* size) {
  // Opening a pipe for reading waits for a writer; without blocking it returns at once, and the
  // type check refuses it. Regular files read the same either way.
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    ec = std::error_code(errno, std::system_category());
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    ec = std::make_error_code(std::errc::invalid_argument);
    return -1;
  }
  ec.clear();
  if (size) *size = st.st_size > 0 ? static_cast<std::uintmax_t>(st.st_size) : 0;
  return fd;
}

std::optional<std::string> ReadWholeFile(const fs::path& p) {
  // Game files are read whole every time a reader opens them, several times per command: one
  // open, one look at the size and as few reads as the file needs.
  std::error_code ec;
  std::uintmax_t size = 0;
  const int fd = OpenRegularFile(p, ec, &size);
  if (fd < 0) return std::nullopt;
  std::string data;
  data.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  for (;;) {
    if (got == data.size()) data.resize(got + (got < 4096 ? 4096 : got));  // it grew, or no size
    const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(got);
  return data;
}

std::optional<std::uintmax_t> FileSize(const fs::path& p) {
  std::error_code ec;
  auto size = fs::file_size(p, ec);
  if (ec) return std::nullopt;
  return size;
}

bool AppendToFile(const fs::path& p, std::string_view bytes) {
  const int fd =
      ::open(p.c_str(),
             O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}

}  // namespace mireval
