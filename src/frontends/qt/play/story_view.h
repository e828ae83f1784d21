// Engine texts on Qt widgets: the conversion every displayed text goes through, and the story area,
// which follows its TextBox by appending whenever the text only grew.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace mireval {

struct TextBox;

// A Windows-1251 text as Qt shows it. Lines end with CR LF inside the engine; the CR is dropped,
// so CR LF becomes one line break and a lone CR shows nothing.
QString DisplayText(std::string_view cp1251);
// The length of DisplayText(cp1251), which is also the position its end has in a document.
int DisplayLength(std::string_view cp1251);

// Keeps a read-only QPlainTextEdit equal to the story area's TextBox. Appends, cuts at the end
// and cuts at the front are applied as such; anything else rewrites the document. The caret is
// moved where the engine put it whenever the engine moved it.
class StoryView {
 public:
  explicit StoryView(QPlainTextEdit* edit);
  void Sync(const TextBox& t);
  // How often the whole document was replaced (a rewrite loses the reader's scroll position).
  int Rewrites() const { return rewrites_; }

 private:
  void Rewrite(const TextBox& t);

  QPlainTextEdit* edit_;
  bool known_ = false;
  std::uint64_t generation_ = 0;
  std::uint64_t dropped_ = 0;
  std::size_t caret_ = 0;
  std::string shown_;
  int rewrites_ = 0;
};

}  // namespace mireval
