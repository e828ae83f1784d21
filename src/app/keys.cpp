#include "app/keys.h"

#include "app/top_level.h"
#include "interpreter/score.h"
#include "interpreter/typed_command.h"
#include "model/player.h"

namespace mireval {

void OnInputKey(Player& p, int key) {
  if (key != kEnter) return;
  if (p.pauseWaiting) {
    p.pauseWaiting = false;
    return;
  }
  if (RunTopLevelCommand(p)) return;
  // A wait already released but not yet returned (two Enters handled in one pass of its loop) still
  // stands on the stack: the command would run inside it.
  if (!p.transitionWaiting && !WaitPending(p) && !p.location.IsEmpty() &&
      p.location.Compare(0) != 0) {
    ExecuteTypedCommand(p);
    p.input.SetText("");
    if (p.conditionsChanged) SettleScoreVariables(p);
    if (p.autoDialogue) p.input.SetText("");
  }
  if (p.transitionWaiting) {
    p.transitionWaiting = false;
    p.input.SetText("");
  }
}

void OnAnswerPanelKey(Player& p, int key) {
  if (key != kEnter) return;
  if (p.pauseWaiting) {
    p.pauseWaiting = false;
  } else if (p.transitionWaiting) {
    p.transitionWaiting = false;
    p.input.SetText("");
  }
}

void OnStoryKey(Player& p, int /*key*/) {
  p.focus = p.answers[0].visible ? Focus::AnswerPanel : Focus::Input;
}

}  // namespace mireval
