#include "frontends/term/state_json.h"

#include <charconv>
#include <cstdio>

#include "base/lines.h"
#include "base/text.h"
#include "model/player.h"

namespace mireval {

namespace {

// Written with "." whatever the locale, as JSON wants.
std::string Num(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
  return std::string(buf, r.ptr);
}

std::string NumberOr0(const Variant& v) {
  if (v.IsNumber()) return NumberText(v.Number());
  if (v.IsEmpty()) return "0";
  if (auto n = ParseNumber(v.Text())) return NumberText(*n);
  return JsonString(v.Text());
}

std::string Color(const Rgb& c) {
  return "[" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "]";
}

std::string Words(const ListBox& list) {
  std::string out = "[";
  for (std::size_t i = 0; i < list.items.size(); ++i)
    out += (i ? "," : "") + JsonString(list.items[i]);
  return out + "]";
}

}  // namespace

std::string StateJson(const Player& p) {
  std::string s = "{";
  s += "\"room\":" + NumberOr0(p.location);
  s += ",\"room_name\":" + JsonString(p.locationName.Text());
  s += ",\"game\":" + JsonString(p.gameTitle.Text());
  s += ",\"moves\":" + NumberOr0(p.moves);
  s += ",\"good\":" + NumberOr0(p.character[1]);
  s += ",\"evil\":" + NumberOr0(p.character[2]);
  s += ",\"labels\":{\"title\":" + JsonString(p.statusLabels[4].caption) +
       ",\"location\":" + JsonString(p.statusLabels[0].caption) +
       ",\"character\":" + JsonString(p.statusLabels[2].caption) +
       ",\"moves\":" + JsonString(p.statusLabels[1].caption) + "}";
  s += ",\"story\":" + JsonString(p.story.text);
  s += ",\"input\":" + JsonString(p.input.text);
  const char* waiting = p.pauseWaiting ? "pause" : (p.transitionWaiting ? "transition" : "input");
  s += ",\"waiting\":\"" + std::string(waiting) + "\"";
  s += ",\"buttons\":[";
  bool first = true;
  for (std::size_t i = 0; i < p.answers.size(); ++i) {
    const Button& b = p.answers[i];
    if (!b.visible) continue;
    s += first ? "" : ",";
    first = false;
    s += "{\"index\":" + std::to_string(i) + ",\"caption\":" + JsonString(b.caption) +
         ",\"top\":" + Num(b.top) + ",\"height\":" + Num(b.height) + "}";
  }
  s += "]";
  s += ",\"story_height\":" + NumberText(p.story.height);
  s += ",\"words\":[" + Words(p.wordColumns[0]) + "," + Words(p.wordColumns[1]) + "]";
  s += std::string(",\"layout\":\"") + (p.wordColumns[0].visible ? "narrow" : "wide") + "\"";
  s += ",\"true_conditions\":[";
  first = true;
  for (int i = kMinCondition; i <= kMaxCondition; ++i) {
    if (!p.conditions.Get(i)) continue;
    s += (first ? "" : ",") + std::to_string(i);
    first = false;
  }
  s += "]";
  s += std::string(",\"dial_avto\":") + (p.autoDialogue ? "true" : "false");
  s += ",\"color_scheme\":" + NumberOr0(p.colorScheme);
  s += ",\"colors\":{\"back\":" + Color(p.schemeBack) + ",\"text\":" + Color(p.schemeText) +
       ",\"buttons\":" + Color(p.schemeButtons) + "}";
  s += std::string(",\"picture\":{\"visible\":") + (p.picturePanel.visible ? "true" : "false") +
       ",\"file\":" + JsonString(FromUtf8(p.picture.file)) +
       ",\"stretch\":" + (p.picture.stretch ? "true" : "false") + "}";
  s += ",\"music\":" + JsonString(p.musicFile);
  s += ",\"game_dir\":" + JsonString(p.gameFolderText);
  return s + "}";
}

}  // namespace mireval
