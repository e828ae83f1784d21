// The widgets the player's window is built from where Qt's own do not lay out as a reader needs:
// status cells that elide instead of overlapping, answer buttons whose long captions wrap, the
// story area with a readable column, and the picture that fits its pane.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mireval {

// One cell of the status line. It never asks for more width than its share of the line: a caption
// too long for it ends in "…" and shows whole in the tooltip and to screen readers.
class StatusCell : public QLabel {
  Q_OBJECT

 public:
  // `kind` says what the cell tells (its accessible description); `prefix`, when the caption does
  // not say it by itself, is put before the caption in the accessible name.
  StatusCell(const QString& kind, const QString& prefix, QWidget* parent = nullptr);
  void SetCaption(const QString& caption);
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString prefix_;
};

// A dialogue answer: its number, then its caption, wrapped over as many lines as the width needs.
class AnswerButton : public QPushButton {
  Q_OBJECT

 public:
  explicit AnswerButton(QWidget* parent = nullptr);
  // Shows "number. caption"; the caption is shown as written ("&" is no shortcut mark).
  void SetAnswer(int number, const QString& caption);
  const QString& Shown() const { return shown_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextRect(const QRect& r) const;
  QString shown_;
};

// The story area. On a wide window it may keep its lines to a readable measure (about 75
// characters), centred, with the margins in the story's own background.
class StoryEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit StoryEdit(QWidget* parent = nullptr);
  void SetReadableMeasure(bool on);
  bool ReadableMeasure() const { return measure_; }
  // Scrolls by pages (negative: up) and to either end.
  void ScrollPages(int pages);
  void ScrollToEnd(bool bottom);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateMargins();
  bool measure_ = true;
};

// The picture of the picture pane. "Natural" pictures keep their size when the pane holds them and
// shrink to fit when it does not; "stretched" ones fill the pane. The aspect ratio always stays.
class PictureView : public QLabel {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);
  void SetPicture(const QImage& image, bool stretch);
  bool HasPicture() const { return !image_.isNull(); }
  // The size the picture is drawn at in a pane of `room`.
  static QSize FittedSize(QSize picture, QSize room, bool stretch);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Rescale();
  QImage image_;
  bool stretch_ = false;
  QSize scaledFor_;
};

}  // namespace mireval
