#include "view/status.h"

#include "base/text.h"
#include "model/player.h"

namespace mireval {

void DrawStatusLine(Player& p) {
  p.Label1[4].caption = p.GameName.Text();
  p.Label1[0].caption = p.RoomName.Text();

  const Variant& good = p.Harakter[1];
  const Variant& evil = p.Harakter[2];
  const bool moderate = p.Uslovie.Get(3000);
  const bool goodSide = p.Uslovie.Get(0);
  int index = moderate ? (goodSide ? 3 : 5) : (goodSide ? 4 : 6);
  p.Label1[2].caption = "Характер: "_cp + p.HarakterWord[1].Text() + " " + good.Text() + ", " +
                        p.HarakterWord[2].Text() + " " + evil.Text() + " (" +
                        p.HarakterWord[index].Text() + ").";

  int points = 0;
  for (int i = 1; i <= kMaxCondition; ++i) points += p.Uslovie.Get(i);
  p.Label1[1].caption = "Ходы: "_cp + p.Hody.Text() + ", очки: "_cp + std::to_string(points) + ".";
}

}  // namespace mireval
