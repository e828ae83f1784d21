#include "frontends/web/view_json.h"

#include <cmath>
#include <filesystem>

#include "app/browser.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "frontends/term/state_json.h"
#include "model/player.h"
#include "view/media.h"

namespace mireval {

namespace {

std::string Bool(bool b) {
  return b ? "true" : "false";
}

// A path of this machine (UTF-8 already) as a JSON string.
std::string PathJson(const std::filesystem::path& path) {
  return JsonString(FromUtf8(path.string()));
}

const char* FocusName(Focus f) {
  switch (f) {
    case Focus::Story:
      return "story";
    case Focus::AnswerPanel:
      return "answers";
    case Focus::Input:
      return "input";
    case Focus::Other:
      break;
  }
  return "other";
}

std::string ButtonJson(const Button& b) {
  return "{\"visible\":" + Bool(b.visible) + ",\"caption\":" + JsonString(b.caption) + "}";
}

std::string FolderRowsJson(const std::filesystem::path& shown) {
  std::string rows = "[";
  for (const FolderRow& row : FolderRows(shown))
    rows += std::string(rows.size() > 1 ? "," : "") + "{\"name\":" + JsonString(row.name) +
            ",\"path\":" + PathJson(row.path) + ",\"depth\":" + std::to_string(row.depth) +
            ",\"current\":" + Bool(row.current) + "}";
  return rows + "]";
}

std::string BrowserJson(const Player& p) {
  std::string drives = "[";
  for (const std::string& d : p.drives.items)
    drives += (drives.size() > 1 ? "," : "") + JsonString(d);
  std::string files = "[";
  for (const std::string& f : p.files.items) files += (files.size() > 1 ? "," : "") + JsonString(f);
  // Folders are listed only while the panel shows them: listing reads the file system.
  const std::string folders = p.browserPanel.visible ? FolderRowsJson(p.folders.folder) : "[]";
  return "{\"visible\":" + Bool(p.browserPanel.visible) +
         ",\"caption\":" + JsonString(p.browserCaption.caption) + ",\"drives\":" + drives + "]" +
         ",\"drive\":" + JsonString(p.drives.drive) + ",\"folders\":" + folders +
         ",\"files\":" + files + "]" + ",\"start\":" + ButtonJson(p.startButton) +
         ",\"cancel\":" + ButtonJson(p.cancelButton) + "}";
}

}  // namespace

std::string ViewJson(const Player& p) {
  std::string s = StateJson(p);
  s.pop_back();  // the closing brace: the window's fields follow
  s += ",\"caption\":" + JsonString(p.caption);
  s += std::string(",\"focus\":\"") + FocusName(p.focus) + "\"";
  s += ",\"story_generation\":" + std::to_string(p.story.generation);
  s += ",\"story_dropped\":" + std::to_string(p.story.droppedFront);
  s += ",\"story_visible\":" + Bool(p.story.visible);
  s += ",\"input_visible\":" + Bool(p.input.visible);
  s += ",\"labels_visible\":{\"title\":" + Bool(p.statusLabels[4].visible) +
       ",\"location\":" + Bool(p.statusLabels[0].visible) +
       ",\"character\":" + Bool(p.statusLabels[2].visible) +
       ",\"moves\":" + Bool(p.statusLabels[1].visible) + "}";
  s += ",\"words_visible\":[" + Bool(p.wordColumns[0].visible) + "," +
       Bool(p.wordColumns[1].visible) + "]";
  // The picture's own size in pixels, as its file declares it (0 for a stretched picture).
  const bool sized = !p.picture.file.empty() && !p.picture.stretch;
  s += ",\"picture_size\":[" +
       std::to_string(sized ? std::lround(p.picture.width / kTwipsPerPixel) : 0) + "," +
       std::to_string(sized ? std::lround(p.picture.height / kTwipsPerPixel) : 0) + "]";
  s += ",\"picture_shown\":" + Bool(p.picture.visible);
  s += ",\"picture_close\":" + ButtonJson(p.pictureClose);
  s += ",\"browser\":" + BrowserJson(p);
  return s + "}";
}

}  // namespace mireval
