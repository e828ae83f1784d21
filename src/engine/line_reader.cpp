#include "engine/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

namespace mireval {

LineReader::LineReader(const std::filesystem::path& file, std::size_t chunkBytes)
    : buffer_(chunkBytes > 0 ? chunkBytes : 1) {
  fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = std::error_code(errno, std::system_category());
    return;
  }
  struct stat st {};
  // Only a regular file holds a game's text (a device could be read without end).
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))
    error_ = std::make_error_code(std::errc::invalid_argument);
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool LineReader::Fill() {
  while (!atEnd_ && !error_) {
    begin_ = end_ = 0;
    const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error_ = std::error_code(errno, std::system_category());
      return false;
    }
    if (n == 0) {
      atEnd_ = true;
      return false;
    }
    end_ = static_cast<std::size_t>(n);
    if (std::exchange(afterCr_, false) && buffer_[0] == '\n') begin_ = 1;
    if (begin_ < end_) return true;
  }
  return false;
}

bool LineReader::NextPiece(std::string_view& piece, bool& lineEnds) {
  if (error_ || (begin_ == end_ && !Fill())) return false;
  const char* base = buffer_.data();
  const char* from = base + begin_;
  const std::size_t n = end_ - begin_;
  const void* lf = std::memchr(from, '\n', n);
  const std::size_t upTo = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - from) : n;
  const void* cr = std::memchr(from, '\r', upTo);
  const std::size_t length =
      cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - from) : upTo;
  piece = std::string_view(from, length);
  lineEnds = length < n;
  begin_ += length;
  if (lineEnds) {
    const bool isCr = base[begin_] == '\r';
    ++begin_;
    if (isCr) {
      if (begin_ < end_)
        begin_ += base[begin_] == '\n' ? 1 : 0;
      else
        afterCr_ = true;
    }
  }
  return true;
}

bool LineReader::NextLine(std::string& line) {
  line.clear();
  std::string_view piece;
  bool lineEnds = false;
  bool any = false;
  while (NextPiece(piece, lineEnds)) {
    any = true;
    line += piece;
    if (lineEnds) return true;
  }
  return any && !error_;
}

}  // namespace mireval
