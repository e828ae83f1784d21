#include "frontends/web/web_platform.h"

#include <emscripten.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>

#include "app/browser.h"
#include "app/keys.h"
#include "app/save_load.h"
#include "base/files.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "frontends/web/picture_size.h"
#include "frontends/web/view_json.h"
#include "model/player.h"
#include "view/media.h"
#include "view/word_columns.h"

// The page's side of each call lives in bridge.js (Module.mirweb). Texts cross as UTF-8; a text
// coming back was allocated with malloc and is freed here.
EM_ASYNC_JS(void, mirweb_wait_event, (), { await Module.mirweb.waitEvent(); });
EM_JS(char*, mirweb_event_text, (const char* field),
      { return Module.mirweb.eventText(UTF8ToString(field)); });
EM_JS(int, mirweb_event_number, (const char* field),
      { return Module.mirweb.eventNumber(UTF8ToString(field)); });
EM_JS(void, mirweb_view, (const char* json), { Module.mirweb.view(UTF8ToString(json)); });
EM_JS(void, mirweb_persist, (), { Module.mirweb.persist(); });
EM_ASYNC_JS(char*, mirweb_dialog, (const char* kind, const char* text, const char* detail), {
  return await Module.mirweb.dialog(UTF8ToString(kind), UTF8ToString(text), UTF8ToString(detail));
});
EM_JS(void, mirweb_start_timer, (int ms), { Module.mirweb.startTimer(ms); });
EM_JS(void, mirweb_open_url, (const char* url), { Module.mirweb.openUrl(UTF8ToString(url)); });
EM_JS(void, mirweb_beep, (), { Module.mirweb.beep(); });

namespace mireval {

namespace {

// A text the runtime allocated: taken over and freed; a null pointer is nothing.
std::optional<std::string> Take(char* text) {
  if (!text) return std::nullopt;
  std::string s(text);
  std::free(text);
  return s;
}

PageEvent NextEvent() {
  mirweb_wait_event();
  PageEvent e;
  e.type = Take(mirweb_event_text("type")).value_or("");
  e.input = Take(mirweb_event_text("input"));
  e.text = Take(mirweb_event_text("text")).value_or("");
  e.index = mirweb_event_number("index");
  e.column = mirweb_event_number("column");
  return e;
}

// The page's answer to a dialog ("" when the page gave none).
std::string Dialog(const char* kind, const std::string& text, const std::string& detail = "") {
  return Take(mirweb_dialog(kind, ToUtf8Shown(text).c_str(), ToUtf8Shown(detail).c_str()))
      .value_or("");
}

// Enter in the input line, as the desktop window routes it: a key in the story area first moves the
// focus away; while answers are shown, an empty line's Enter belongs to the answer panel.
void Enter(Player& p) {
  if (p.focus == Focus::Story) OnStoryKey(p, kEnter);
  if (p.focus == Focus::AnswerPanel && p.input.text.empty())
    OnAnswerPanelKey(p, kEnter);
  else
    OnInputKey(p, kEnter);
}

// A menu command of the page: typed into the line and entered.
void Command(Player& p, const std::string& utf8) {
  p.input.SetText(FromUtf8(utf8));
  p.focus = Focus::Input;
  OnInputKey(p, kEnter);
}

// A game folder the page has put into the file system, opened as choosing its main file in the
// browser opens it (asking first whether to leave the running game).
void OpenFolder(Player& p, const Seams& seams, const std::filesystem::path& folder) {
  OpenGameDialog(p);
  if (ChangeFolderPath(p, folder) && !p.files.items.empty())
    seams.fileClicked(p, 0);
  else
    ChooseFile(p, folder, std::string(words::kMainFile));  // reports what is missing
}

void LoadFile(Player& p, const std::filesystem::path& file) {
  LoadGameDialog(p);
  ChooseFile(p, file.parent_path(), PathText(file.filename()));
}

// Events that name an answer, a word or a file the page showed: by the time one is handled the
// view may have moved on, and a control that is gone now takes no click.
bool AnswerShown(const Player& p, int index) {
  return index >= 0 && index < static_cast<int>(p.answers.size()) &&
         p.answers[static_cast<std::size_t>(index)].visible;
}
bool WordShown(const Player& p, int column, int index) {
  return column >= 0 && column < 2 && p.wordColumns[static_cast<std::size_t>(column)].visible &&
         index >= 0 &&
         index < static_cast<int>(p.wordColumns[static_cast<std::size_t>(column)].items.size());
}

struct EventHandler {
  std::string_view type;
  void (*run)(Player& p, const Seams& seams, const PageEvent& e);
};

constexpr EventHandler kHandlers[] = {
    {"enter", [](Player& p, const Seams&, const PageEvent&) { Enter(p); }},
    {"command", [](Player& p, const Seams&, const PageEvent& e) { Command(p, e.text); }},
    {"answer",
     [](Player& p, const Seams& s, const PageEvent& e) {
       if (AnswerShown(p, e.index)) s.answerClicked(p, e.index);
     }},
    {"word",
     [](Player& p, const Seams&, const PageEvent& e) {
       if (WordShown(p, e.column, e.index)) OnWordClicked(p, e.column, e.index);
     }},
    {"picture-close",
     [](Player& p, const Seams&, const PageEvent&) {
       if (p.picturePanel.visible) OnPictureClosed(p);
     }},
    {"open", [](Player& p, const Seams& s, const PageEvent& e) { OpenFolder(p, s, e.text); }},
    {"load", [](Player& p, const Seams&, const PageEvent& e) { LoadFile(p, e.text); }},
    {"drive",
     [](Player& p, const Seams& s, const PageEvent& e) { s.driveChosen(p, FromUtf8(e.text)); }},
    {"folder", [](Player& p, const Seams& s, const PageEvent& e) { s.folderChosen(p, e.text); }},
    {"file", [](Player& p, const Seams& s, const PageEvent& e) { s.fileClicked(p, e.index); }},
    {"start", [](Player& p, const Seams& s, const PageEvent&) { s.startClicked(p); }},
    {"cancel", [](Player& p, const Seams& s, const PageEvent&) { s.cancelClicked(p); }},
};

}  // namespace

void WebPlatform::PublishView() {
  if (!player_) return;
  std::string json = ViewJson(*player_);
  if (json == shownView_) return;
  mirweb_view(json.c_str());
  shownView_ = std::move(json);
}

void WebPlatform::PumpEvents() {
  PublishView();
  const PageEvent event = NextEvent();
  if (event.type == "tick") {
    if (tick_) tick_();  // runs its own event handler
  } else {
    RunEventHandler(*player_, [&] { Handle(event); });
  }
  // A save, or anything else written under the games folder, goes to IndexedDB.
  mirweb_persist();
}

void WebPlatform::Handle(const PageEvent& e) {
  Player& p = *player_;
  if (e.input) p.input.text = FromUtf8(*e.input);
  const auto* handler = std::find_if(std::begin(kHandlers), std::end(kHandlers),
                                     [&](const EventHandler& h) { return h.type == e.type; });
  if (handler != std::end(kHandlers)) handler->run(p, seams_, e);
}

void WebPlatform::MessageBox(const std::string& text) {
  PublishView();
  Dialog("message", text);
}

void WebPlatform::ShowScriptError(const std::string& text, const std::string& place) {
  PublishView();
  Dialog("error", text, place);
}

bool WebPlatform::AskYesNo(const std::string& text, Answer preferred) {
  PublishView();
  // The detail names the answer that Enter gives.
  return Dialog("yes-no", text, preferred == Answer::Yes ? "yes" : "no") == "yes";
}

Platform::Choice WebPlatform::AskYesNoCancel(const std::string& text) {
  PublishView();
  const std::string answer = Dialog("yes-no-cancel", text, "yes");
  return answer == "yes" ? Choice::Yes : answer == "no" ? Choice::No : Choice::Cancel;
}

std::string WebPlatform::InputBox(const std::string& title) {
  PublishView();
  return FromUtf8(Dialog("input", title));
}

void WebPlatform::EndProgram(int status) {
  PublishView();
  throw WebExit{status};
}

void WebPlatform::Beep() {
  mirweb_beep();
}

void WebPlatform::OpenUrl(const std::string& url) {
  mirweb_open_url(ToUtf8(url).c_str());
}

bool WebPlatform::PictureSize(const std::filesystem::path& file, int& width, int& height) {
  const std::optional<PixelSize> size = PictureFileSize(file);
  if (!size) return false;
  width = size->width;
  height = size->height;
  return true;
}

double WebPlatform::ClockSeed() {
  if (seed_) return static_cast<double>(*seed_);
  // The system clock is the browser's Date.now().
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

void WebPlatform::StartTimer(int intervalMs, std::function<void()> tick) {
  tick_ = std::move(tick);
  mirweb_start_timer(intervalMs);
}

std::vector<std::string> WebPlatform::DriveRoots() {
  return {kGamesFolder};
}

}  // namespace mireval
