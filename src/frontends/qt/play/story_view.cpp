#include "frontends/qt/play/story_view.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "base/text.h"
#include "model/form.h"

namespace mireval {

QString DisplayText(std::string_view cp1251) {
  return QString::fromStdString(ToUtf8Shown(cp1251));
}

int DisplayLength(std::string_view cp1251) {
  // Every Windows-1251 code stands for one character of the Basic Multilingual Plane.
  return static_cast<int>(cp1251.size() -
                          static_cast<std::size_t>(std::count(cp1251.begin(), cp1251.end(), '\r')));
}

StoryView::StoryView(QPlainTextEdit* edit) : edit_(edit) {
  edit_->setUndoRedoEnabled(false);
}

void StoryView::Rewrite(const TextBox& t) {
  edit_->setPlainText(DisplayText(t.text));
  shown_ = t.text;
  ++rewrites_;
}

void StoryView::Sync(const TextBox& t) {
  QScrollBar* bar = edit_->verticalScrollBar();
  const bool followingEnd = bar->value() == bar->maximum();
  bool moved = !known_ || t.generation != generation_ || t.droppedFront != dropped_;

  if (!known_ || t.generation != generation_ || t.droppedFront - dropped_ > shown_.size()) {
    Rewrite(t);
  } else {
    QTextDocument* doc = edit_->document();
    if (std::uint64_t cut = t.droppedFront - dropped_; cut > 0) {
      QTextCursor front(doc);
      front.setPosition(DisplayLength(std::string_view(shown_).substr(0, cut)),
                        QTextCursor::KeepAnchor);
      front.removeSelectedText();
      shown_.erase(0, cut);
    }
    auto [shownEnd, textEnd] =
        std::mismatch(shown_.begin(), shown_.end(), t.text.begin(), t.text.end());
    std::size_t common = static_cast<std::size_t>(shownEnd - shown_.begin());
    if (common < shown_.size()) {
      QTextCursor tail(doc);
      tail.setPosition(DisplayLength(std::string_view(shown_).substr(0, common)));
      tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
      tail.removeSelectedText();
    }
    if (common < t.text.size()) {
      QTextCursor end(doc);
      end.movePosition(QTextCursor::End);
      end.insertText(DisplayText(std::string_view(t.text).substr(common)));
    }
    shown_ = t.text;
  }
  known_ = true;
  generation_ = t.generation;
  dropped_ = t.droppedFront;

  if (moved || t.caret != caret_) {
    QTextCursor caret(edit_->document());
    caret.setPosition(
        DisplayLength(std::string_view(t.text).substr(0, std::min(t.caret, t.text.size()))));
    edit_->setTextCursor(caret);
    edit_->ensureCursorVisible();
    if (t.caret >= t.text.size()) bar->setValue(bar->maximum());
    caret_ = t.caret;
  } else if (followingEnd) {
    // A reader who was at the end keeps seeing the newest text.
    bar->setValue(bar->maximum());
  }
}

}  // namespace mireval
