#include "app/save_load.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "app/browser.h"
#include "base/atomic_file.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "interpreter/transition.h"
#include "model/player.h"
#include "script/game_files.h"

namespace mireval {

namespace {

constexpr int kConditionCount = kMaxCondition + 1;  // conditions 0..10000 are saved
constexpr int kPictureLine = 3;                     // first line of the picture register
constexpr int kConditionLine = kPictureLine + kPictureSlots;
constexpr int kLowestStored = 100;  // stored condition numbers are drawn from 100..899
constexpr int kStoredRange = 800;
constexpr int kDrawsBeforeSearch = 100000;
// A save is 11003 short lines: even with all 1000 picture slots naming long paths it stays under a
// megabyte. A file sixteen times that is no save, and reading it whole could exhaust memory.
constexpr std::uintmax_t kLargestSave = 16 * 1024 * 1024;

// The digit test of the condition encoding: a condition is true when the stored number plus the
// condition's own number gives 1.
bool ConditionFromNumber(long long stored, int k) {
  long long v = stored + k;
  return (v % 10) + ((v % 100) / 10) + ((v / 100) % 2) == 1;
}

// A random number from 100..899 that encodes `value` for condition k, so that two saves of one
// state differ on disk. Only about one draw in seventy encodes a true condition; should the
// generator keep missing, the next fitting number is taken instead of drawing forever.
int StoredNumber(Random& rng, int k, bool value) {
  int n = kLowestStored;
  for (int draw = 0; draw < kDrawsBeforeSearch; ++draw) {
    n = kLowestStored + static_cast<int>(rng.Next() * kStoredRange);
    if (ConditionFromNumber(n, k) == value) return n;
  }
  for (int step = 0; step < kStoredRange; ++step) {
    int m = kLowestStored + (n - kLowestStored + step) % kStoredRange;
    if (ConditionFromNumber(m, k) == value) return m;
  }
  return n;  // not reached: every 800 consecutive numbers hold both kinds
}

std::string Value(const Variant& v) {
  if (v.IsText()) return QuotedField(v.Text());
  return v.Text();  // a bare number; empty stays an empty field
}

std::string SaveText(Player& p) {
  std::string out;
  out.reserve(100000);
  out += Value(p.location) + "," + Value(p.character[1]) + "," + Value(p.character[2]) + "," +
         Value(p.moves) + "," + Value(p.gameTitle) + "\r\n";
  for (int i = 1; i <= 6; ++i) out += Value(p.characterWords[i]) + (i < 6 ? "," : "\r\n");
  for (int i = 1; i <= kPictureSlots; ++i) out += QuotedField(p.pictureFiles[i]) + "\r\n";
  for (int k = 0; k < kConditionCount; ++k)
    out += std::to_string(StoredNumber(p.rng, k, p.conditions.Get(k))) + "\r\n";
  return out;
}

// A name that would leave the game folder, or that a path cannot hold, is refused.
bool AcceptableName(const std::string& name) {
  if (name.find("..") != std::string::npos) return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == '?' || static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

struct Field {
  bool quoted;
  std::string text;
};

// One record line: values separated by commas. A quoted value is a text (a doubled quote inside
// stands for one quote); whatever follows its closing quote up to the next comma is dropped, as
// files written before quotes were doubled need. Nothing for a quote that is never closed.
std::optional<std::vector<Field>> SplitRecord(std::string_view line) {
  std::vector<Field> fields;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && line[i] == '"') {
      std::string text;
      bool closed = false;
      for (++i; i < line.size(); ++i) {
        if (line[i] != '"') {
          text += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
          text += '"';
          ++i;
        } else {
          ++i;
          closed = true;
          break;
        }
      }
      if (!closed) return std::nullopt;
      while (i < line.size() && line[i] != ',') ++i;
      fields.push_back({true, std::move(text)});
    } else {
      std::size_t end = std::min(line.find(',', i), line.size());
      std::string_view raw = line.substr(i, end - i);
      while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t')) raw.remove_suffix(1);
      fields.push_back({false, std::string(raw)});
      i = end;
    }
    if (i >= line.size()) return fields;
    ++i;  // the comma
  }
}

// A quoted value is a text, a bare one a number (an empty bare value stays empty).
std::optional<Variant> ToVariant(const Field& f) {
  if (f.quoted) return Variant(f.text);
  if (f.text.empty()) return Variant();
  if (auto n = ParseNumber(f.text)) return Variant(*n);
  return std::nullopt;
}

// The location, the points and the moves are counted with. One written in quotes ("12", by hand
// or by an older writer) is the number it spells: kept as a text it would compare with the other
// points by its characters, and "12" would come before "3". False for a text that is no number.
bool ToCount(Variant& v) {
  if (!v.IsText()) return true;
  auto n = ParseNumber(v.Text());
  if (!n) return false;
  v = *n;
  return true;
}

struct SavedGame {
  Variant room, good, evil, moves, name;
  std::array<Variant, 7> words;
  std::vector<std::string> pictures = std::vector<std::string>(kPictureSlots + 1);
  std::array<bool, kConditionCount> conditions{};
};

std::optional<SavedGame> ParseSave(std::string_view data) {
  std::vector<std::string> lines = SplitLines(data);
  if (lines.size() < static_cast<std::size_t>(kSaveFileLines)) return std::nullopt;
  SavedGame g;

  auto record = [&](int lineNo, std::size_t count) -> std::optional<std::vector<Variant>> {
    auto fields = SplitRecord(lines[static_cast<std::size_t>(lineNo - 1)]);
    if (!fields || fields->size() != count) return std::nullopt;
    std::vector<Variant> values;
    for (const Field& f : *fields) {
      auto v = ToVariant(f);
      if (!v) return std::nullopt;
      values.push_back(std::move(*v));
    }
    return values;
  };
  auto first = record(1, 5);
  auto second = record(2, 6);
  if (!first || !second) return std::nullopt;
  g.room = (*first)[0];
  g.good = (*first)[1];
  g.evil = (*first)[2];
  g.moves = (*first)[3];
  g.name = (*first)[4];
  // A text that is no number here would stop the game later, when the status line counts.
  if (!ToCount(g.room) || !ToCount(g.good) || !ToCount(g.evil) || !ToCount(g.moves))
    return std::nullopt;
  for (int i = 1; i <= 6; ++i) g.words[static_cast<std::size_t>(i)] = (*second)[i - 1];

  for (int i = 1; i <= kPictureSlots; ++i) {
    auto fields = SplitRecord(lines[static_cast<std::size_t>(kPictureLine + i - 2)]);
    if (!fields || fields->size() != 1) return std::nullopt;
    g.pictures[static_cast<std::size_t>(i)] = (*fields)[0].text;
  }

  for (int k = 0; k < kConditionCount; ++k) {
    auto fields = SplitRecord(lines[static_cast<std::size_t>(kConditionLine + k - 1)]);
    if (!fields || fields->size() != 1 || (*fields)[0].quoted) return std::nullopt;
    auto n = ParseNumber((*fields)[0].text);
    if (!n || std::fabs(*n) > 1e9) return std::nullopt;
    g.conditions[static_cast<std::size_t>(k)] =
        ConditionFromNumber(static_cast<long long>(std::nearbyint(*n)), k);
  }
  return g;
}

// The saved location must be one the game folder has: a file that names none would end the
// program at its description.
bool LocationExists(const std::filesystem::path& folder, const Variant& room) {
  if (room.Number() < 1) return false;
  std::optional<std::filesystem::path> file = ResolveUnder(folder, RoomFileName(room));
  std::error_code ec;
  return file && std::filesystem::is_regular_file(*file, ec);
}

}  // namespace

bool SaveGame(Player& p) {
  std::string name = p.platform.InputBox("Введите имя для сохранения игры."_cp);
  if (!AcceptableName(name)) {
    // A letter the code page lacks arrives as "?": two such names would share one file.
    const bool foreign = name.find('?') != std::string::npos;
    p.platform.MessageBox(
        "Недопустимое имя для сохранения игры: "_cp + name +
        (foreign ? "\r\n"_cp + "В имени есть знаки, которых нет в кодировке Windows-1251."_cp
                 : ""));
    return false;
  }
  std::string fileName = name + std::string(words::kSaveSuffix);
  std::error_code ec;
  // A link under the save's name that leads out of the game folder is not followed there.
  const std::optional<std::filesystem::path> file = FindGameFile(p, fileName);
  if (!file) ec = std::make_error_code(std::errc::permission_denied);
  if (!file || !WriteFileAtomically(*file, SaveText(p), ec)) {
    // The player can do something about a full disk or a protected file, once told which.
    p.platform.MessageBox("Не удалось сохранить игру: "_cp + p.gameFolderText + fileName + "\r\n" +
                          WriteFailureText(ec));
    return false;
  }
  return true;
}

void LoadGameDialog(Player& p) {
  PrepareBrowser(p);
  p.browserCaption.caption = "Загрузка сохраненной игры."_cp;
  p.browserPanel.visible = true;
  SetFilePattern(p, std::string(words::kSavePattern));
}

namespace {

// Reads the save chosen and asks what must be asked before it replaces the running game. Nothing
// when it cannot be loaded (said to the player) or the player declined.
std::optional<SavedGame> ReadChosenSave(Player& p, const std::filesystem::path& folder,
                                        const std::string& fileName) {
  const std::optional<std::filesystem::path> file = ResolveUnder(folder, fileName);
  const std::string failed =
      "Не удалось загрузить игру: "_cp + GameDirOf(PathText(folder)) + fileName;
  // The file is read whole; one far larger than a save is refused before it is read.
  if (auto size = file ? FileSize(*file) : std::nullopt; size && *size > kLargestSave) {
    p.platform.MessageBox(failed + "\r\n" + "Файл слишком велик для сохранённой игры."_cp);
    return std::nullopt;
  }
  std::optional<SavedGame> g;
  if (file)
    if (auto data = ReadWholeFile(*file)) g = ParseSave(*data);
  if (!g || !LocationExists(folder, g->room)) {
    p.platform.MessageBox(failed);
    return std::nullopt;
  }
  // A save of another game would put its title and conditions in place of the running one's.
  if (GameLoaded(p) && g->name.Text() != p.gameTitle.Text() &&
      !p.platform.AskYesNo("Сохранение сделано в другой игре («"_cp + g->name.Text() +
                               "»). Загрузить его вместо текущей игры?"_cp,
                           Platform::Answer::No))
    return std::nullopt;
  return g;
}

void RestoreGame(Player& p, const std::filesystem::path& folder, SavedGame& g) {
  BeginGame(p);
  SetGameFolder(p, folder);
  p.character[1] = g.good;
  p.character[2] = g.evil;
  p.moves = g.moves;
  p.gameTitle = g.name;
  p.characterWords = g.words;
  // The word columns and derived conditions are rebuilt by the score pass after the next command.
  p.conditionsChanged = true;
  p.pictureFiles = std::move(g.pictures);
  for (int k = 0; k < kConditionCount; ++k) p.conditions.Set(k, g.conditions[k]);

  p.browserPanel.visible = false;
  EnterLocation(p, g.room);
}

}  // namespace

bool LoadSavedGame(Player& p, const std::filesystem::path& folder, const std::string& fileName) {
  std::optional<SavedGame> g = ReadChosenSave(p, folder, fileName);
  if (g) RestoreGame(p, folder, *g);
  return g.has_value();
}

bool ChooseSavedGame(Player& p, const std::filesystem::path& folder, const std::string& fileName) {
  // Read and asked about at once: a save that cannot be loaded, or one the player declines,
  // leaves a pending wait (and the move it holds) as it was.
  std::optional<SavedGame> g = ReadChosenSave(p, folder, fileName);
  if (!g) return false;
  StartGame(p, [folder, saved = std::make_shared<SavedGame>(std::move(*g))](Player& q) {
    RestoreGame(q, folder, *saved);
  });
  return true;
}

}  // namespace mireval
