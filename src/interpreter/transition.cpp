#include "interpreter/transition.h"

#include "base/script_error.h"
#include "base/text.h"
#include "interpreter/locations.h"
#include "interpreter/score.h"
#include "model/player.h"
#include "model/report.h"
#include "script/synonyms.h"
#include "view/output.h"
#include "view/status.h"

namespace mireval {

void MoveToLocation(Player& p, const Variant& room) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd,
      [&] {
        p.transitionWaiting = true;
        static const std::string prompt = FromUtf8(kTransitionPromptUtf8);
        p.story.Append("\r\n" + prompt);
        StoryTail(p);
        {
          PendingWait wait(p);
          while (p.transitionWaiting) p.platform.PumpEvents();
          wait.End();
        }
        EnterLocation(p, room);
      },
      [&] { return LineErrorText(p, room.Text()); });
}

void EnterLocation(Player& p, const Variant& room) {
  p.story.height = kStoryFullHeight;
  p.location = room;
  LoadLocationSynonyms(p, room);
  for (Button& b : p.answers) b.visible = false;
  p.story.SetText("");
  ShowRoom(p);
  RefreshStatus(p);
}

}  // namespace mireval
