#include "engine/files.h"

#include <fstream>
#include <system_error>
#include <unistd.h>

#include "engine/text.h"

namespace fs = std::filesystem;

namespace mireval {

std::string PathText(const fs::path& p) { return FromUtf8(p.string()); }

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
  std::error_code ec;
  if (fs::is_directory(p, ec)) return std::nullopt;
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  in.seekg(0, std::ios::end);
  auto size = in.tellg();
  if (size > 0) {
    data.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(data.data(), size);
    data.resize(static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return data;
}

std::optional<std::uintmax_t> FileSize(const fs::path& p) {
  std::error_code ec;
  auto size = fs::file_size(p, ec);
  if (ec) return std::nullopt;
  return size;
}

bool WriteFileAtomically(const fs::path& p, std::string_view bytes) {
  fs::path tmp = p;
  tmp += ".part" + std::to_string(::getpid());
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, p, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

bool AppendToFile(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace mireval
