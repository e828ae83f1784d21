#include "base/line_reader.h"

#include <unistd.h>
#include <cerrno>
#include <utility>

#include "base/files.h"
#include "base/lines.h"

namespace mireval {

LineReader::LineReader(const std::filesystem::path& file, std::size_t chunkBytes)
    : buffer_(chunkBytes > 0 ? chunkBytes : 1) {
  fd_ = OpenRegularFile(file, error_);
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
  std::size_t next = begin_;
  piece = mireval::NextLine(std::string_view(buffer_.data(), end_), next);
  const std::size_t lineEnd = begin_ + piece.size();
  lineEnds = lineEnd < end_;
  // A CR that ends the buffer: whether an LF follows it is for the next buffer to say.
  afterCr_ = lineEnds && lineEnd + 1 == end_ && buffer_[lineEnd] == '\r';
  begin_ = next;
  return true;
}

bool LineReader::NextLine(std::string_view& line) {
  std::string_view piece;
  bool lineEnds = false;
  if (!NextPiece(piece, lineEnds)) return false;
  if (lineEnds) {  // most lines lie whole in the buffer: no copy
    line = piece;
    return true;
  }
  long_.assign(piece);
  while (NextPiece(piece, lineEnds)) {
    long_ += piece;
    if (lineEnds) break;
  }
  line = long_;
  return !error_;
}

}  // namespace mireval
