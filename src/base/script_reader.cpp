#include "base/script_reader.h"

#include "base/files.h"
#include "base/lines.h"
#include "base/script_error.h"
#include "base/text.h"

namespace mireval {

std::string ScriptPlace::Text() const {
  return file.empty() ? std::string() : file + ":" + std::to_string(line);
}

void ScriptReader::Open(const std::filesystem::path& file) {
  auto data = ReadWholeFile(file);
  if (!data) throw ScriptError("file not found: " + file.string());
  name_ = PathText(file.filename());
  OpenText(DecodeGameFile(std::move(*data)));
}

void ScriptReader::OpenText(std::string text) {
  data_ = std::move(text);
  pos_ = 0;
  line_ = 0;
  open_ = true;
}

void ScriptReader::Close() {
  open_ = false;
  data_.clear();
  data_.shrink_to_fit();
  pos_ = 0;
}

void ScriptReader::ReadLine(std::string& line) {
  if (Eof()) throw ScriptError("input past end of file");
  line.assign(NextLine(data_, pos_));
  ++line_;
}

std::string_view ScriptReader::Rest() const {
  if (!open_) return {};
  return std::string_view(data_).substr(pos_);
}

}  // namespace mireval
