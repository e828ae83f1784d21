#include "frontends/qt/play/view_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace mireval {

namespace {
constexpr int kMeasureCharacters = 75;

// A plain container as a screen reader sees it: itself and its shown children.
class ShownChildren : public QAccessibleWidget {
 public:
  explicit ShownChildren(QWidget* w) : QAccessibleWidget(w) {}

  int childCount() const override { return static_cast<int>(Shown().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = Shown();
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child || !child->object() || !child->object()->isWidgetType()) return -1;
    return static_cast<int>(Shown().indexOf(static_cast<QWidget*>(child->object())));
  }

 private:
  QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QObject* o : widget()->children()) {
      auto* w = qobject_cast<QWidget*>(o);
      if (w && !w->isWindow() && !w->isHidden()) shown.push_back(w);
    }
    return shown;
  }
};

QAccessibleInterface* ShownChildrenFactory(const QString& key, QObject* object) {
  if (key != QLatin1String("QWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* w = static_cast<QWidget*>(object);
  return w->isWindow() ? nullptr : new ShownChildren(w);
}
constexpr int kButtonPadding = 6;
}  // namespace

StatusCell::StatusCell(const QString& kind, const QString& prefix, QWidget* parent)
    : QLabel(parent), prefix_(prefix) {
  setTextFormat(Qt::PlainText);
  setAccessibleDescription(kind);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setMargin(2);
}

void StatusCell::SetCaption(const QString& caption) {
  if (text() == caption) return;
  setText(caption);
  setToolTip(caption);
  QString trimmed = caption.trimmed();
  setAccessibleName(prefix_.isEmpty() || trimmed.startsWith(prefix_) ? trimmed
                                                                     : prefix_ + ": " + trimmed);
}

QSize StatusCell::minimumSizeHint() const {
  return QSize(fontMetrics().horizontalAdvance(QStringLiteral("…")) + 2 * margin(),
               fontMetrics().height() + 2 * margin());
}

QSize StatusCell::sizeHint() const {
  return QSize(fontMetrics().horizontalAdvance(text()) + 2 * margin(),
               fontMetrics().height() + 2 * margin());
}

void StatusCell::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect r = contentsRect().adjusted(margin(), 0, -margin(), 0);
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
}

AnswerButton::AnswerButton(QWidget* parent) : QPushButton(parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
  setAutoDefault(false);
}

void AnswerButton::SetAnswer(int number, const QString& caption) {
  QString shown = QStringLiteral("%1. %2").arg(number).arg(caption);
  if (shown == shown_) return;
  shown_ = shown;
  // The label Qt keeps is for its own use (the mnemonic "&" doubled); the drawn text is ours.
  setText(QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&")));
  setAccessibleName(shown);
  setAccessibleDescription(number == 0 ? QString::fromUtf8("Закончить разговор")
                                       : QString::fromUtf8("Ответ %1").arg(number));
  updateGeometry();
  update();
}

QRect AnswerButton::TextRect(const QRect& r) const {
  return r.adjusted(kButtonPadding, kButtonPadding / 2, -kButtonPadding, -kButtonPadding / 2);
}

int AnswerButton::heightForWidth(int width) const {
  QRect text = fontMetrics().boundingRect(TextRect(QRect(0, 0, width, 100000)),
                                          Qt::TextWordWrap | Qt::AlignLeft, shown_);
  return std::max(text.height(), fontMetrics().height()) + kButtonPadding;
}

QSize AnswerButton::sizeHint() const {
  int width =
      std::min(fontMetrics().horizontalAdvance(shown_), 60 * fontMetrics().averageCharWidth()) +
      2 * kButtonPadding;
  return QSize(width, heightForWidth(width));
}

QSize AnswerButton::minimumSizeHint() const {
  int width = 8 * fontMetrics().averageCharWidth();
  return QSize(width, fontMetrics().height() + kButtonPadding);
}

void AnswerButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawText(TextRect(rect()), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, shown_);
}

StoryEdit::StoryEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // The margins left of and right of the measure are the story's own paper.
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  document()->setDocumentMargin(10);
}

void StoryEdit::SetReadableMeasure(bool on) {
  if (measure_ == on) return;
  measure_ = on;
  UpdateMargins();
}

void StoryEdit::ScrollPages(int pages) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() + pages * bar->pageStep());
}

void StoryEdit::ScrollToEnd(bool bottom) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bottom ? bar->maximum() : bar->minimum());
}

void StoryEdit::resizeEvent(QResizeEvent* event) {
  UpdateMargins();
  QPlainTextEdit::resizeEvent(event);
}

void StoryEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) UpdateMargins();
  QPlainTextEdit::changeEvent(event);
}

void StoryEdit::UpdateMargins() {
  int side = 0;
  if (measure_) {
    const int bar = verticalScrollBar()->sizeHint().width();
    const int column = kMeasureCharacters * fontMetrics().averageCharWidth() +
                       2 * static_cast<int>(document()->documentMargin());
    const int room = width() - 2 * frameWidth() - bar;
    if (room > column) side = (room - column) / 2;
  }
  if (viewportMargins().left() != side) setViewportMargins(side, 0, side, 0);
}

void ExposeOnlyShownWidgets() {
  static bool installed = false;
  if (installed) return;
  QAccessible::installFactory(ShownChildrenFactory);
  installed = true;
}

PictureView::PictureView(QWidget* parent) : QLabel(parent) {
  // Centred across the pane and kept at its top, next to the text it illustrates.
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  // The picture follows the pane; it never makes the pane grow.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  setMinimumSize(16, 16);
}

QSize PictureView::FittedSize(QSize picture, QSize room, bool stretch) {
  if (picture.isEmpty() || room.isEmpty()) return {};
  if (!stretch && picture.width() <= room.width() && picture.height() <= room.height())
    return picture;
  return picture.scaled(room, Qt::KeepAspectRatio);
}

void PictureView::SetPicture(const QImage& image, bool stretch) {
  image_ = image;
  stretch_ = stretch;
  scaledFor_ = QSize();
  Rescale();
}

void PictureView::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Rescale();
}

void PictureView::Rescale() {
  if (image_.isNull()) {
    if (!pixmap().isNull()) setPixmap(QPixmap());
    return;
  }
  if (scaledFor_ == size()) return;
  scaledFor_ = size();
  const qreal ratio = devicePixelRatioF();
  // Sizes are the window's own pixels; the screen may have more of them.
  const QSize shown = FittedSize(image_.size(), size(), stretch_) * ratio;
  if (shown.isEmpty()) return;
  QPixmap pixmap = QPixmap::fromImage(
      shown == image_.size() ? image_
                             : image_.scaled(shown, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  pixmap.setDevicePixelRatio(ratio);
  setPixmap(pixmap);
}

}  // namespace mireval
