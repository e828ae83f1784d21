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
  f.Label1[4].width = m.title;
  f.Label1[0].left = 0;
  f.Label1[0].width = m.placeWidth;
  f.Label1[2].width = m.characterWidth;
  f.Label1[1].width = m.movesWidth;
  // The wide layout leaves a pixel between the cells; the narrow one packs them.
  const double gap = layout == Layout::Wide ? 1 : 0;
  f.Label1[2].left = m.placeWidth + gap;
  f.Label1[1].left = m.placeWidth + m.characterWidth + 2 * gap;
  f.Picture1.width = m.browserWidth;
  f.Picture3.width = m.pictureWidth;
  f.Dir1.width = f.Drive1.width = m.listsWidth;
  f.File1.left = m.fileLeft;
  f.File1.width = m.fileWidth;
  f.Command3.left = m.closeLeft;
  f.Image3.left = m.imageLeft;
  f.Image3.width = m.imageWidth;
  f.Text1.width = f.Text2.width = f.T.width = m.storyWidth;
}

void PlaceAnswers(Form& f, int answers) {
  f.T.height = kStoryDialogueHeight;
  const double slot = kAnswerBandHeight / (answers + 2);
  for (int i = 1; i <= answers; ++i)
    f.Command1[static_cast<std::size_t>(i)].top =
        static_cast<float>(kAnswerBandTop + kAnswerBandHeight * (i - 1) / (answers + 2));
  f.Command1[0].top =
      static_cast<float>(kAnswerBandTop + kAnswerBandHeight * answers / (answers + 2));
  for (int i = 0; i <= answers; ++i)
    f.Command1[static_cast<std::size_t>(i)].height = static_cast<float>(slot);
}

void PlaceClosingAnswerAlone(Form& f) {
  f.Command1[0].height = kExhaustedCloseHeight;
  f.Command1[0].top = kAnswerBandTop;
}

// The window as designed, in pixels (the picture panel's own children in twips). The wide layout
// is the starting one.
Form::Form() {
  caption = "Миревал"_cp;
  Place(Label1[4], 0, 0, 787, 20);
  Label1[4].caption = "Миревал 2.0"_cp;
  Place(Label1[0], 0, 22, 217, 20);
  Place(Label1[2], 218, 22, 389, 20);
  Place(Label1[1], 608, 22, 181, 20);
  Label1[3].visible = false;  // there is no label 3

  Place(T, 0, 44, 789, kStoryFullHeight);
  Place(Text2, 0, 600, 789, 24);
  Place(Text1, 0, 0, 0, 0);

  for (Button& b : Command1) {
    Place(b, 0, 346, 560, 20);
    b.visible = false;
  }
  for (int i = 0; i < 2; ++i) {
    Place(List1[i], 565 + 113 * i, 44, 110, 552);
    List1[i].visible = false;
  }

  Place(Picture1, 4, 44, 781, 395);
  Picture1.visible = false;
  Place(Label2, 5, 5, 500, 20);
  Label2.caption = "Загрузка игры."_cp;
  Place(Drive1, 5, 30, 377, 24);
  Place(Dir1, 5, 60, 377, 285);
  Place(File1, 388, 30, 387, 350);
  Place(Command2, File1.left + 3, 30, File1.width - 7, 30);
  Command2.caption = "Начать игру"_cp;
  Command2.visible = false;
  Place(BrowserCancel, 5, 352, 120, 28);
  BrowserCancel.caption = "Отмена"_cp;

  Place(Picture3, 2, 44, 785, 395);
  Picture3.visible = false;
  Place(Image3, 1200, 0, 8865, 5900);
  Place(Command3, 11340, 0, 375, 375);
  Command3.caption = "X";
}

}  // namespace mireval
