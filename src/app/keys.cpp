#include "app/keys.h"

#include "app/top_level.h"
#include "interpreter/score.h"
#include "interpreter/typed_command.h"
#include "model/player.h"

namespace mireval {

void OnInputKey(Player& p, int key) {
  if (key != kEnter) return;
  if (p.WaitKey) {
    p.WaitKey = false;
    return;
  }
  if (RunTopLevelCommand(p)) return;
  // A wait already released but not yet returned (two Enters handled in one pass of its loop) still
  // stands on the stack: the command would run inside it.
  if (p.EnterReady && !WaitPending(p) && !p.Room.IsEmpty() && p.Room.Compare(0) != 0) {
    ExecuteTypedCommand(p);
    p.input.SetText("");
    if (p.conditionsChanged) SettleScoreVariables(p);
    if (p.autoDialogue) p.input.SetText("");
  }
  if (!p.EnterReady) {
    p.EnterReady = true;
    p.input.SetText("");
  }
}

void OnAnswerPanelKey(Player& p, int key) {
  if (key != kEnter) return;
  if (p.WaitKey) {
    p.WaitKey = false;
  } else if (!p.EnterReady) {
    p.EnterReady = true;
    p.input.SetText("");
  }
}

void OnStoryKey(Player& p, int /*key*/) {
  p.focus = p.answers[0].visible ? Focus::AnswerPanel : Focus::Input;
}

}  // namespace mireval
