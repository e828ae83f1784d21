#include "engine/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "engine/atomic_file.h"
#include "engine/text.h"

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

fs::path ResolvePath(std::string_view cp1251Path) {
  std::string s = ToUtf8(cp1251Path);
  for (char& c : s)
    if (c == '\\') c = '/';
  fs::path in(s);
  fs::path out = in.root_path();
  std::error_code ec;
  // Most names are written as they are stored: when the whole path exists, so does every part,
  // and one look settles it.
  const bool exists = fs::exists(in, ec);
  for (const fs::path& part : in.relative_path()) {
    std::string name = part.string();
    if (name.empty() || name == ".") continue;
    fs::path exact = out / part;
    if (exists || name == ".." || fs::exists(exact, ec)) {
      out = exact;
      continue;
    }
    std::string wanted = FromUtf8(name);
    // The authors' file systems drop blanks and dots at the end of a name, and script lines often
    // carry such a blank: a command reply's "КАР 2 pic.png " names pic.png.
    while (!wanted.empty() && (wanted.back() == ' ' || wanted.back() == '.')) wanted.pop_back();
    fs::path found;
    fs::path dir = out.empty() ? fs::path(".") : out;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      if (EqualsNoCase(FromUtf8(it->path().filename().string()), wanted)) {
        found = it->path().filename();
        break;
      }
    }
    out /= found.empty() ? part : found;
  }
  return out;
}

std::optional<std::string> ReadWholeFile(const fs::path& p) {
  // Game files are read whole every time a reader opens them, several times per command: one
  // open, one look at the size and as few reads as the file needs.
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  // Only a regular file holds a game's text (a device could be read without end).
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string data;
  data.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0);
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

bool WriteFileAtomically(const fs::path& p, std::string_view bytes) {
  std::error_code ec;
  return WriteFileAtomically(p, bytes, ec, Durability::ScratchCopy);
}

bool AppendToFile(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace mireval
