// Reading a file a line at a time without holding it whole, for files of any size (the seal
// tool's rewrites). Lines end as NextLine (engine/lines.h) ends them: at CR LF, LF or CR, and a
// final line end does not start another line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace mireval {

class LineReader {
 public:
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  // Opens a regular file; a failure is in error().
  explicit LineReader(const std::filesystem::path& file, std::size_t chunkBytes = kChunkBytes);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next piece of text: a whole line or, for a line longer than what is buffered, a part of
  // it. `lineEnds` tells whether the line ends after this piece; a piece that does not end its
  // line is never empty. The last line of a file without a final line end comes without
  // `lineEnds`, and then false for the end of the file. False at the end or after an error.
  bool NextPiece(std::string_view& piece, bool& lineEnds);

  // The next whole line, however long; valid until the next call. False at the end or after an
  // error.
  bool NextLine(std::string_view& line);

  // Set when the file could not be opened or read.
  const std::error_code& error() const { return error_; }

 private:
  bool Fill();

  int fd_ = -1;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool afterCr_ = false;  // the buffer's last piece ended at a CR: an LF next belongs to it
  std::string long_;      // a line longer than what was buffered at once
  std::error_code error_;
};

}  // namespace mireval
