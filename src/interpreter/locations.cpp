#include "interpreter/locations.h"

#include <optional>

#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/dialogue.h"
#include "interpreter/score.h"
#include "model/player.h"
#include "model/report.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "script/location_files.h"
#include "view/output.h"

namespace mireval {

namespace {

struct Eligibility {
  bool eligible;
  int count;
};

// Reads the condition list of a description line from its fourth character on.
Eligibility DescriptionEligibility(const Player& p, const std::string& line) {
  if (line.size() <= 3) return {true, 0};
  int count = 0;
  bool failed = false, expect = true;
  std::string number;
  auto close = [&] {
    if (number.empty()) return;
    ++count;
    if (p.conditions.Get(ConditionNumber(number)) != expect) failed = true;
    number.clear();
    expect = true;
  };
  for (std::size_t i = 3; i < line.size(); ++i) {
    char c = line[i];
    if (c == ' ')
      close();
    else if (c == '-')
      expect = false;
    else
      number += c;
  }
  close();
  return {!failed, count};
}

void ReadLine(Player& p) {
  ReadScriptLine(p);
  StraightenDashes(p.line);
}

// Reads the location's name from its first line and finds the description to show: the last of
// the eligible ones with the most conditions. Nothing when the file is no location (the player
// has been told), 0 when no description is eligible.
std::optional<int> ChooseDescription(Player& p) {
  ScopedGameFile file(p, CurrentRoomFile(p));
  ReadLine(p);
  if (!StartsWith(p.line, words::kLocationName)) {
    ReportScriptError(
        p, OnScriptError::ReportAndGoOn,
        "Ошибка игры - файл описания локации должен начинаться с символов РН и последующего "
        "названия локации."_cp);
    return std::nullopt;
  }
  p.locationName = Mid(p.line, 3);
  p.statusLabels[0].caption = p.locationName.Text();

  int chosen = 0, best = 0, index = 0;
  while (!p.file.Eof()) {
    ReadLine(p);
    if (!StartsWith(p.line, words::kDescription)) continue;
    ++index;
    Eligibility e = DescriptionEligibility(p, p.line);
    if (e.eligible && e.count >= best) {
      best = e.count;
      chosen = index;
    }
  }
  return chosen;
}

void WriteDescription(Player& p, int chosen) {
  ScopedGameFile file(p, CurrentRoomFile(p));
  int index = 0;
  while (index < chosen) {
    ReadLine(p);
    if (StartsWith(p.line, words::kDescription)) ++index;
  }
  p.charactersSincePause = 0;
  while (p.line.size() > 1 && !p.file.Eof()) {
    ReadLine(p);
    p.story.Append(p.line + "\r\n");
    WriteStoryLine(p, std::string(p.line));
  }
  StoryTail(p);
}

void Describe(Player& p) {
  const std::optional<int> chosen = ChooseDescription(p);
  if (!chosen) return;
  if (*chosen == 0) {
    ReportScriptError(p, OnScriptError::ReportAndGoOn,
                      "Ошибка в описании локации - ни одно описание не подходит под ситуацию (нет "
                      "безусловного описания)."_cp);
    return;
  }
  WriteDescription(p, *chosen);
}

}  // namespace

void ShowRoom(Player& p) {
  RunScriptStep(
      p, OnScriptError::ReportAndEnd, [&] { Describe(p); },
      [&] { return "Ошибка в строке: "_cp + "\r\n" + QuotedLine(p.line); });
  RunAutomaticDialogue(p);
  SettleScoreVariables(p);
}

}  // namespace mireval
