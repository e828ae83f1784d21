#include "frontends/term/term_platform.h"

#include <chrono>
#include <istream>
#include <ostream>
#include <sstream>

#include "app/browser.h"
#include "app/keys.h"
#include "app/save_load.h"
#include "app/startup.h"
#include "app/top_level.h"
#include "base/files.h"
#include "base/text.h"
#include "frontends/term/state_json.h"
#include "frontends/term/term_input.h"
#include "interpreter/dialogue.h"
#include "model/player.h"
#include "view/media.h"
#include "view/word_columns.h"

namespace mireval {

namespace {

// A path typed by the player, taken from the current folder.
std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path abs = std::filesystem::absolute(path, ec);
  return (ec ? path : abs).lexically_normal();
}

}  // namespace

bool SilentPlayer::Render(const std::filesystem::path& file) {
  std::error_code ec;
  file_ = std::filesystem::is_regular_file(file, ec) ? file.string() : std::string();
  return !file_.empty();
}

TermPlatform::TermPlatform(std::istream& in, std::ostream& out, std::optional<long> seed,
                           bool strict)
    : in_(in), out_(out), seed_(seed), strict_(strict) {}

void TermPlatform::Print(const std::string& utf8) {
  if (utf8.empty()) return;
  out_ << utf8;
  atLineStart_ = utf8.back() == '\n';
  if (!ownLine_) sinceTyped_ += utf8;
}

void TermPlatform::PrintStory() {
  const TextBox& t = player_->story;
  if (storyKnown_ && t.generation == storyGeneration_)
    PrintStoryGrowth(t);
  else
    PrintReplacedStory(t);
  storyKnown_ = true;
  storyGeneration_ = t.generation;
  storyDropped_ = t.droppedFront;
  storyPrinted_ = t.text;
}

void TermPlatform::PrintReplacedStory(const TextBox& t) {
  // The very first text needs no separator, and an empty area at the start prints nothing.
  if (!storyKnown_ && t.text.empty()) return;
  if (!atLineStart_) Print("\n");
  if (storyKnown_) Print("-----\n");
  Print(ToUtf8Shown(t.text));
}

void TermPlatform::PrintStoryGrowth(const TextBox& t) {
  // Text dropped from the front of a long story was printed already; what is new follows the
  // part that both still hold.
  std::uint64_t dropped = t.droppedFront - storyDropped_;
  storyPrinted_.erase(0, std::min<std::uint64_t>(dropped, storyPrinted_.size()));
  std::size_t common = 0;
  std::size_t limit = std::min(storyPrinted_.size(), t.text.size());
  while (common < limit && storyPrinted_[common] == t.text[common]) ++common;
  Print(ToUtf8Shown(std::string_view(t.text).substr(common)));
}

namespace {

// The four status labels on one line, with its line break.
std::string StatusLine(const Player& p) {
  return "== " + ToUtf8(p.statusLabels[4].caption) + " | " + ToUtf8(p.statusLabels[0].caption) +
         " | " + ToUtf8(p.statusLabels[2].caption) + " | " + ToUtf8(p.statusLabels[1].caption) +
         "\n";
}

std::string AnswerLines(const Player& p) {
  std::string lines;
  for (std::size_t i = 0; i < p.answers.size(); ++i)
    if (p.answers[i].visible)
      lines += "[" + std::to_string(i) + "] " + ToUtf8(p.answers[i].caption) + "\n";
  return lines;
}

std::string WordColumnLines(const Player& p) {
  std::string lines;
  for (int c = 0; c < 2; ++c) {
    lines += c == 0 ? "К1: " : "К2: ";
    for (std::size_t i = 0; i < p.wordColumns[c].items.size(); ++i)
      lines += (i ? " · " : "") + ToUtf8(p.wordColumns[c].items[i]);
    lines += "\n";
  }
  return lines;
}

}  // namespace

void TermPlatform::Attach(Player& p) {
  player_ = &p;
  status_ = StatusLine(p);
}

void TermPlatform::Flush() {
  if (!player_) return;
  const Player& p = *player_;
  PrintStory();
  PrintWhenChanged(StatusLine(p), status_);
  PrintWhenChanged(AnswerLines(p), buttons_);
  // Once shown, the columns are printed on every change, even when they are hidden again.
  const bool wordsShown = p.wordColumns[0].visible || !words_.empty();
  PrintWhenChanged(wordsShown ? WordColumnLines(p) : std::string(), words_);
  out_.flush();
}

void TermPlatform::PrintWhenChanged(const std::string& lines, std::string& shown) {
  if (lines == shown) return;
  if (!lines.empty()) {
    if (!atLineStart_) Print("\n");
    Print(lines);
  }
  shown = lines;
}

void TermPlatform::MessageBox(const std::string& text) {
  FlushToLineStart();
  std::string utf8 = ToUtf8Shown(text);
  std::istringstream lines(utf8);
  std::string l;
  while (std::getline(lines, l)) Print("!! " + l + "\n");
  if (utf8.empty()) Print("!! \n");
  out_.flush();
}

void TermPlatform::ShowScriptError(const std::string& text, const std::string& place) {
  MessageBox(text);
  if (!place.empty()) Print("!> " + ToUtf8(place) + "\n");
  out_.flush();
  if (strict_) ++failures_;
}

void TermPlatform::StartTimer(int intervalMs, std::function<void()> tick) {
  tick_ = std::move(tick);
  timerInterval_ = std::chrono::milliseconds(intervalMs);
  lastTick_ = std::chrono::steady_clock::now();
}

void TermPlatform::RunTimerIfDue() {
  if (!tick_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - lastTick_ < timerInterval_) return;
  lastTick_ = now;  // ticks missed while a line was awaited are not made up
  tick_();
}

std::optional<std::string> TermPlatform::ReadInputLine() {
  RunTimerIfDue();
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  ++inputLine_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void TermPlatform::FlushToLineStart() {
  Flush();
  if (!atLineStart_) Print("\n");
}

std::string TermPlatform::Ask(const std::string& promptUtf8) {
  FlushToLineStart();
  Print("?? " + promptUtf8 + "\n");
  out_.flush();
  auto answer = ReadInputLine();
  if (!answer) EndProgram(kExitNormal);
  return *answer;
}

// An empty line answers No whatever is preferred: the terminal has no default button.
bool TermPlatform::AskYesNo(const std::string& text, Answer /*preferred*/) {
  std::string a = Upper(FromUtf8(TrimBlanks(Ask(ToUtf8Shown(text) + " [да/нет]"))));
  return a == "ДА"_cp || a == "Д"_cp || a == "YES" || a == "Y";
}

std::string TermPlatform::InputBox(const std::string& title) {
  return FromUtf8(Ask(ToUtf8Shown(title)));
}

void TermPlatform::PumpEvents() {
  FlushToLineStart();
  out_.flush();
  auto line = ReadInputLine();
  if (!line) EndProgram(kExitNormal);
  RunEventHandler(*player_, [&] { Handle(*line); });
}

void TermPlatform::Handle(const std::string& line) {
  Player& p = *player_;
  const TermAction action = ReadTermAction(line);
  using Kind = TermAction::Kind;
  switch (action.kind) {
    case Kind::Type:
      Type(action.text);
      break;
    case Kind::State:
      FlushToLineStart();
      ownLine_ = true;
      Print(StateJson(p) + "\n");
      ownLine_ = false;
      break;
    case Kind::Enter:
      // Enter in the input line as it stands (after /word clicks, say).
      OnInputKey(p, kEnter);
      break;
    case Kind::Quit:
      EndProgram(kExitNormal);
      break;
    case Kind::ClosePicture:
      OnPictureClosed(p);
      break;
    case Kind::Open:
      StartGameInFolder(p, Absolute(action.text));
      break;
    case Kind::Load:
      LoadSavedGame(action.text);
      break;
    case Kind::Answer:
      OnAnswerClicked(p, action.index);
      break;
    case Kind::Word:
      OnWordClicked(p, action.column, action.index);
      break;
    case Kind::ExpectText:
    case Kind::ExpectNoText:
    case Kind::ExpectCondition:
    case Kind::ExpectRoom:
      Check(action);
      break;
    case Kind::Unknown:
      Print("!! unknown action\n");
      break;
  }
}

void TermPlatform::Type(const std::string& utf8) {
  Player& p = *player_;
  sinceTyped_.clear();
  p.input.SetText(FromUtf8(utf8));
  // While the game waits for Enter, a typed line only releases the wait (program commands
  // apart): a walkthrough that typed it meant something else.
  const char* wait = p.pauseWaiting ? "a pause" : p.transitionWaiting ? "a transition" : nullptr;
  if (strict_ && wait && !TrimBlanks(utf8).empty() && (p.pauseWaiting || !IsTopLevelCommand(p)))
    Fail("the line \"" + utf8 + "\" was typed while " + wait + " waited for Enter, and was lost");
  OnInputKey(p, kEnter);
}

namespace {

// Output as a failure quotes it: on one line, the start of a long text only.
std::string Quoted(std::string utf8) {
  constexpr std::size_t kShown = 300;
  if (utf8.size() > kShown) {
    std::size_t end = kShown;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    utf8 = utf8.substr(0, end) + "…";
  }
  std::string out = "\"";
  for (char c : utf8) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out + "\"";
}

}  // namespace

void TermPlatform::Check(const TermAction& e) {
  FlushToLineStart();  // what the game wrote so far counts
  const Player& p = *player_;
  using Kind = TermAction::Kind;
  switch (e.kind) {
    case Kind::ExpectText:
      if (sinceTyped_.find(e.text) == std::string::npos)
        Fail("expected " + Quoted(e.text) + ", found " + Quoted(sinceTyped_));
      break;
    case Kind::ExpectNoText:
      if (sinceTyped_.find(e.text) != std::string::npos)
        Fail("expected no " + Quoted(e.text) + ", found " + Quoted(sinceTyped_));
      break;
    case Kind::ExpectCondition: {
      const bool on = p.conditions.Get(e.index);
      if (on != (e.column == 1))
        Fail("expected condition " + std::to_string(e.index) + (e.column ? " on" : " off") +
             ", found " + (on ? "on" : "off"));
      break;
    }
    case Kind::ExpectRoom:
      if (p.location.IsEmpty() || p.location.Number() != static_cast<double>(e.index))
        Fail("expected room " + std::to_string(e.index) + ", found " +
             (p.location.IsEmpty() ? std::string("no game") : "room " + ToUtf8(p.location.Text())));
      break;
    default:
      break;
  }
}

void TermPlatform::Fail(const std::string& what) {
  ++failures_;
  FlushToLineStart();
  ownLine_ = true;
  Print("XX " + std::to_string(inputLine_) + ": " + what + "\n");
  ownLine_ = false;
}

void TermPlatform::LoadSavedGame(const std::string& typedPath) {
  // A bare file name is looked for where the browser stands (the running game's folder).
  Player& p = *player_;
  std::filesystem::path file(typedPath);
  std::filesystem::path folder =
      file.has_parent_path() ? Absolute(file.parent_path()) : p.folders.folder;
  LoadGameDialog(p);
  ChooseFile(p, folder, PathText(file.filename()));
}

void TermPlatform::EndProgram(int status) {
  FlushToLineStart();
  out_.flush();
  throw TermExit{status};
}

void TermPlatform::OpenUrl(const std::string& url) {
  FlushToLineStart();
  Print("!! " + ToUtf8(url) + "\n");
}

bool TermPlatform::PictureSize(const std::filesystem::path& file, int& width, int& height) {
  // A terminal shows no pictures; a file that exists counts as one of a nominal size.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  width = 320;
  height = 240;
  return true;
}

double TermPlatform::ClockSeed() {
  if (seed_) return static_cast<double>(*seed_);
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

}  // namespace mireval
