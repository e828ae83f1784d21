#include "view/status.h"

#include "base/text.h"
#include "model/player.h"

namespace mireval {

void DrawStatusLine(Player& p) {
  p.statusLabels[4].caption = p.gameTitle.Text();
  p.statusLabels[0].caption = p.locationName.Text();

  const Variant& good = p.character[1];
  const Variant& evil = p.character[2];
  const bool moderate = p.conditions.Get(3000);
  const bool goodSide = p.conditions.Get(0);
  int index = moderate ? (goodSide ? 3 : 5) : (goodSide ? 4 : 6);
  p.statusLabels[2].caption = "Характер: "_cp + p.characterWords[1].Text() + " " + good.Text() +
                              ", " + p.characterWords[2].Text() + " " + evil.Text() + " (" +
                              p.characterWords[index].Text() + ").";

  int points = 0;
  for (int i = 1; i <= kMaxCondition; ++i) points += p.conditions.Get(i);
  p.statusLabels[1].caption =
      "Ходы: "_cp + p.moves.Text() + ", очки: "_cp + std::to_string(points) + ".";
}

}  // namespace mireval
