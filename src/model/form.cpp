#include "model/form.h"

#include "base/text.h"

namespace mireval {

namespace {
void Place(Control& c, double left, double top, double width, double height) {
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
}
// What differs between the two arrangements, in pixels (the picture panel's children in twips).
struct LayoutMeasures {
  double title;
  double placeWidth, characterWidth, movesWidth;
  double browserWidth, pictureWidth;
  double listsWidth, fileLeft, fileWidth;
  double closeLeft, imageLeft, imageWidth;
  double storyWidth;
};
constexpr LayoutMeasures kWide{787, 217, 389, 181, 781, 785, 377, 388, 387, 11340, 1200, 8865, 789};
constexpr LayoutMeasures kNarrow{561, 189, 163, 211, 561, 561, 279, 286, 263, 8010, 0, 7815, 560};

}  // namespace

void ArrangeForm(Form& f, Layout layout) {
  const LayoutMeasures& m = layout == Layout::Narrow ? kNarrow : kWide;
  f.statusLabels[4].width = m.title;
  f.statusLabels[0].left = 0;
  f.statusLabels[0].width = m.placeWidth;
  f.statusLabels[2].width = m.characterWidth;
  f.statusLabels[1].width = m.movesWidth;
  // The wide layout leaves a pixel between the cells; the narrow one packs them.
  const double gap = layout == Layout::Wide ? 1 : 0;
  f.statusLabels[2].left = m.placeWidth + gap;
  f.statusLabels[1].left = m.placeWidth + m.characterWidth + 2 * gap;
  f.browserPanel.width = m.browserWidth;
  f.picturePanel.width = m.pictureWidth;
  f.folders.width = f.drives.width = m.listsWidth;
  f.files.left = m.fileLeft;
  f.files.width = m.fileWidth;
  f.pictureClose.left = m.closeLeft;
  f.picture.left = m.imageLeft;
  f.picture.width = m.imageWidth;
  f.answerPanelFocus.width = f.input.width = f.story.width = m.storyWidth;
}

void PlaceAnswers(Form& f, int answers) {
  f.story.height = kStoryDialogueHeight;
  const double slot = kAnswerBandHeight / (answers + 2);
  for (int i = 1; i <= answers; ++i)
    f.answers[static_cast<std::size_t>(i)].top =
        static_cast<float>(kAnswerBandTop + kAnswerBandHeight * (i - 1) / (answers + 2));
  f.answers[0].top =
      static_cast<float>(kAnswerBandTop + kAnswerBandHeight * answers / (answers + 2));
  for (int i = 0; i <= answers; ++i)
    f.answers[static_cast<std::size_t>(i)].height = static_cast<float>(slot);
}

void PlaceClosingAnswerAlone(Form& f) {
  f.answers[0].height = kExhaustedCloseHeight;
  f.answers[0].top = kAnswerBandTop;
}

// The window as designed, in pixels (the picture panel's own children in twips). The wide layout
// is the starting one.
Form::Form() {
  caption = "Миревал"_cp;
  Place(statusLabels[4], 0, 0, 787, 20);
  statusLabels[4].caption = "Миревал 2.0"_cp;
  Place(statusLabels[0], 0, 22, 217, 20);
  Place(statusLabels[2], 218, 22, 389, 20);
  Place(statusLabels[1], 608, 22, 181, 20);
  statusLabels[3].visible = false;  // there is no label 3

  Place(story, 0, 44, 789, kStoryFullHeight);
  Place(input, 0, 600, 789, 24);
  Place(answerPanelFocus, 0, 0, 0, 0);

  for (Button& b : answers) {
    Place(b, 0, 346, 560, 20);
    b.visible = false;
  }
  for (int i = 0; i < 2; ++i) {
    Place(wordColumns[i], 565 + 113 * i, 44, 110, 552);
    wordColumns[i].visible = false;
  }

  Place(browserPanel, 4, 44, 781, 395);
  browserPanel.visible = false;
  Place(browserCaption, 5, 5, 500, 20);
  browserCaption.caption = "Загрузка игры."_cp;
  Place(drives, 5, 30, 377, 24);
  Place(folders, 5, 60, 377, 285);
  Place(files, 388, 30, 387, 350);
  Place(startButton, files.left + 3, 30, files.width - 7, 30);
  startButton.caption = "Начать игру"_cp;
  startButton.visible = false;
  Place(cancelButton, 5, 352, 120, 28);
  cancelButton.caption = "Отмена"_cp;

  Place(picturePanel, 2, 44, 785, 395);
  picturePanel.visible = false;
  Place(picture, 1200, 0, 8865, 5900);
  Place(pictureClose, 11340, 0, 375, 375);
  pictureClose.caption = "X";
}

}  // namespace mireval
