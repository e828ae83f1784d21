#include "shell/form.h"

#include "engine/text.h"

namespace mireval {

namespace {
void Place(Control& c, double left, double top, double width, double height) {
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
}
}  // namespace

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
  File2.visible = false;

  Place(Picture3, 2, 44, 785, 395);
  Picture3.visible = false;
  Place(Image3, 1200, 0, 8865, 5900);
  Place(Command3, 11340, 0, 375, 375);
  Command3.caption = "X";
}

}  // namespace mireval
