#include "frontends/term/term_platform.h"

#include <chrono>
#include <istream>
#include <ostream>
#include <sstream>

#include "app/browser.h"
#include "app/keys.h"
#include "app/save_load.h"
#include "app/startup.h"
#include "base/files.h"
#include "base/text.h"
#include "frontends/term/state_json.h"
#include "interpreter/dialogue.h"
#include "model/player.h"
#include "view/media.h"
#include "view/word_columns.h"

namespace mireval {

namespace {

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

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

TermPlatform::TermPlatform(std::istream& in, std::ostream& out, std::optional<long> seed)
    : in_(in), out_(out), seed_(seed) {}

void TermPlatform::Print(const std::string& utf8) {
  if (utf8.empty()) return;
  out_ << utf8;
  atLineStart_ = utf8.back() == '\n';
}

void TermPlatform::PrintStory() {
  const TextBox& t = player_->story;
  if (!storyKnown_ || t.generation != storyGeneration_) {
    if (storyKnown_ || !t.text.empty()) {
      if (!atLineStart_) Print("\n");
      if (storyKnown_) Print("-----\n");
      Print(ToUtf8Shown(t.text));
    }
    storyKnown_ = true;
  } else {
    std::uint64_t dropped = t.droppedFront - storyDropped_;
    storyPrinted_.erase(0, std::min<std::uint64_t>(dropped, storyPrinted_.size()));
    std::size_t common = 0;
    std::size_t limit = std::min(storyPrinted_.size(), t.text.size());
    while (common < limit && storyPrinted_[common] == t.text[common]) ++common;
    Print(ToUtf8Shown(std::string_view(t.text).substr(common)));
  }
  storyGeneration_ = t.generation;
  storyDropped_ = t.droppedFront;
  storyPrinted_ = t.text;
}

namespace {
std::string StatusLine(const Player& p) {
  return "== " + ToUtf8(p.statusLabels[4].caption) + " | " + ToUtf8(p.statusLabels[0].caption) +
         " | " + ToUtf8(p.statusLabels[2].caption) + " | " + ToUtf8(p.statusLabels[1].caption);
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
  auto line = [&](const std::string& s) {
    if (!atLineStart_) Print("\n");
    Print(s + "\n");
  };
  std::string status = StatusLine(p);
  if (status != status_) {
    line(status);
    status_ = status;
  }
  std::string buttons;
  for (std::size_t i = 0; i < p.answers.size(); ++i)
    if (p.answers[i].visible)
      buttons += "[" + std::to_string(i) + "] " + ToUtf8(p.answers[i].caption) + "\n";
  if (buttons != buttons_) {
    if (!buttons.empty()) {
      if (!atLineStart_) Print("\n");
      Print(buttons);
    }
    buttons_ = buttons;
  }
  std::string words;
  if (p.wordColumns[0].visible || !words_.empty()) {
    for (int c = 0; c < 2; ++c) {
      words += c == 0 ? "К1: " : "К2: ";
      for (std::size_t i = 0; i < p.wordColumns[c].items.size(); ++i)
        words += (i ? " · " : "") + ToUtf8(p.wordColumns[c].items[i]);
      words += "\n";
    }
  }
  if (words != words_) {
    if (!words.empty()) {
      if (!atLineStart_) Print("\n");
      Print(words);
    }
    words_ = words;
  }
  out_.flush();
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
  std::string a = Upper(FromUtf8(Trim(Ask(ToUtf8Shown(text) + " [да/нет]"))));
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
  if (line.empty() || line[0] != '/' || (line.size() > 1 && line[1] == '/')) {
    p.input.SetText(FromUtf8(line[0] == '/' ? line.substr(1) : line));
    OnInputKey(p, kEnter);
    return;
  }
  std::istringstream words(line);
  std::string action;
  words >> action;
  int number = 0, column = 0;
  if (action == "/state") {
    FlushToLineStart();
    Print(StateJson(p) + "\n");
  } else if (action == "/enter" && (words >> std::ws).eof()) {
    // Enter in the input line as it stands (after /word clicks, say).
    OnInputKey(p, kEnter);
  } else if (action == "/quit") {
    EndProgram(kExitNormal);
  } else if (action == "/picture" && Trim(line.substr(8)) == "close") {
    OnPictureClosed(p);
  } else if (action == "/open" && !Trim(line.substr(5)).empty()) {
    StartGameInFolder(p, Absolute(Trim(line.substr(5))));
  } else if (action == "/load" && !Trim(line.substr(5)).empty()) {
    // A bare file name is looked for where the browser stands (the running game's folder).
    std::filesystem::path file(Trim(line.substr(5)));
    std::filesystem::path folder =
        file.has_parent_path() ? Absolute(file.parent_path()) : p.folders.folder;
    LoadGameDialog(p);
    ChooseFile(p, folder, PathText(file.filename()));
  } else if (action == "/answer" && (words >> number) && number >= 0 && number <= 12 &&
             (words >> std::ws).eof()) {
    OnAnswerClicked(p, number);
  } else if (action == "/word" && (words >> column >> number) && (column == 1 || column == 2) &&
             number >= 1 && (words >> std::ws).eof()) {
    OnWordClicked(p, column - 1, number - 1);
  } else {
    Print("!! unknown action\n");
  }
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
