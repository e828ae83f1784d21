#include "checker/game_check.h"

#include <map>
#include <optional>
#include <queue>
#include <set>
#include <system_error>
#include <vector>

#include "base/script_error.h"
#include "base/text.h"
#include "base/variant.h"
#include "base/vocabulary.h"
#include "checker/game_folder.h"
#include "checker/location_check.h"
#include "checker/source_file.h"
#include "interpreter/matcher.h"
#include "model/game_state.h"
#include "script/condition_list.h"
#include "script/game_files.h"

namespace mireval::check {

namespace {

const std::string kMain(words::kMainFile);
const std::string kCommon(words::kCommonLocationFile);

// The location number of a file named room<N>.txt (any letter case), N as the player writes it.
std::optional<long> RoomNumberOf(const std::string& name) {
  const std::string upper = Upper(name);
  const std::string prefix = Upper(words::kLocationFilePrefix),
                    suffix = Upper(words::kTextFileSuffix);
  if (upper.size() <= prefix.size() + suffix.size() || !StartsWith(upper, prefix) ||
      upper.compare(upper.size() - suffix.size(), suffix.size(), suffix) != 0)
    return std::nullopt;
  const std::string digits =
      upper.substr(prefix.size(), upper.size() - prefix.size() - suffix.size());
  if (digits.size() > 5) return std::nullopt;
  for (char c : digits)
    if (!IsDigit(c)) return std::nullopt;
  if (digits.size() > 1 && digits[0] == '0') return -1;  // "room01.txt": no number names it
  return std::stol(digits);
}

class GameChecker {
 public:
  explicit GameChecker(const std::filesystem::path& folder) : folder_(folder) {}

  Findings Run() {
    ReadTextFiles();
    const auto main = files_.find(kMain);
    if (main == files_.end()) {
      out_.Error(kMain, 1, "no-main-file",
                 "в папке нет файла main.txt: программа не узнает в ней игру"_cp);
      return std::move(out_);
    }
    MainFile(main->second);
    Encodings();
    Locations();
    SideFiles();
    Events();
    Reachability();
    ConditionUses();
    SynonymCuts();
    return std::move(out_);
  }

 private:
  void ReadTextFiles() {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder_.Path(), ec), end; !ec && it != end;
         it.increment(ec)) {
      const std::string name = FromUtf8(it->path().filename().string());
      if (Upper(it->path().extension().string()) != Upper(words::kTextFileSuffix)) continue;
      // The names the game uses are lower case; a file stored as Room1.TXT is found under them.
      const std::optional<long> room = RoomNumberOf(name);
      std::string key = name;
      if (room && *room >= 0)
        key = RoomFileName(Variant(static_cast<double>(*room)));
      else if (EqualsNoCase(name, kMain))
        key = kMain;
      if (files_.count(key)) continue;
      std::optional<SourceFile> file = ReadSourceFile(folder_.Path(), key, out_);
      if (!file) continue;
      if (room && *room < 0)
        out_.Warning(key, 1, "room-file-name",
                     "номер локации в имени файла пишется без ведущих нулей: на файл "_cp + key +
                         " не ведет ни одна строка ИД"_cp);
      if (room && *room >= 0) rooms_[*room] = key;
      files_.emplace(key, std::move(*file));
    }
  }

  const SourceFile* File(const std::string& name) const {
    for (const auto& [key, file] : files_)
      if (EqualsNoCase(key, name)) return &file;
    return nullptr;
  }

  void MainFile(const SourceFile& main) {
    const std::vector<std::string>& lines = main.lines;
    if (lines.empty() || Upper(lines[0]) != words::kMainFileSignature) {
      out_.Error(kMain, 1, "main-signature",
                 "первая строка main.txt должна быть «Текстовый квест» (без пробелов по краям): "
                 "иначе папка не считается игрой"_cp);
    }
    if (lines.size() < 3) {
      out_.Error(kMain, static_cast<long>(lines.size()) + 1, "main-short",
                 "в main.txt нужны три строки: «Текстовый квест», название игры и номер "
                 "цветовой гаммы"_cp);
      return;
    }
    if (lines[1].find_first_not_of(' ') == std::string::npos)
      out_.Warning(kMain, 2, "main-title", "вторая строка main.txt — название игры — пуста"_cp);
    try {
      const int scheme = TextToInt16(lines[2]);
      if (scheme < 1 || scheme > 12)
        out_.Error(kMain, 3, "color-scheme", "цветовая гамма бывает от 1 до 12"_cp);
    } catch (const ScriptError&) {
      out_.Error(kMain, 3, "color-scheme",
                 "третья строка main.txt — номер цветовой гаммы от 1 до 12"_cp);
    }
    if (lines.size() > 3 && lines.size() < 9)
      out_.Error(kMain, static_cast<long>(lines.size()), "main-vocabulary",
                 "строки с 4-й по 9-ю пишут все шесть или ни одной: файл кончается на строке "_cp +
                     std::to_string(lines.size()) + ", и игра не начнется"_cp);
    for (std::size_t i = 9; i < lines.size(); ++i)
      if (lines[i].find_first_not_of(' ') != std::string::npos) {
        out_.Warning(kMain, static_cast<long>(i + 1), "main-extra-lines",
                     "строки main.txt после 9-й не читаются"_cp);
        break;
      }
  }

  // Files in UTF-8 among files in Windows-1251: each one is read right, but an editor that
  // guesses the code of a file will sooner or later save one of them wrong.
  void Encodings() {
    int utf8 = 0, cp1251 = 0;
    for (const auto& [name, file] : files_) {
      utf8 += file.encoding == Encoding::Utf8;
      cp1251 += file.encoding == Encoding::Cp1251;
    }
    if (utf8 == 0 || cp1251 == 0) return;
    const Encoding fewer = utf8 <= cp1251 ? Encoding::Utf8 : Encoding::Cp1251;
    for (const auto& [name, file] : files_)
      if (file.encoding == fewer)
        out_.Warning(name, 1, "mixed-encoding",
                     fewer == Encoding::Utf8
                         ? "файл сохранен в UTF-8, а остальные файлы игры — в Windows-1251: "
                           "сохраняйте все файлы в одной кодировке"_cp
                         : "файл сохранен в Windows-1251, а остальные файлы игры — в UTF-8: "
                           "сохраняйте все файлы в одной кодировке"_cp);
  }

  void Locations() {
    if (!File(kCommon))
      out_.Error(kMain, 1, "missing-room",
                 "в игре нет файла room0.txt: он нужен всегда, пусть даже с одной строкой РН"_cp);
    if (!rooms_.count(1))
      out_.Error(kMain, 1, "missing-room",
                 "в игре нет файла room1.txt: игра начинается в локации 1"_cp);
    for (const auto& [room, name] : rooms_)
      facts_.push_back(CheckLocationFile(files_.at(name), room, folder_, out_));
  }

  void SideFiles() {
    struct Side {
      std::string_view name;
      const char* command;
    };
    static const Side kSides[] = {
        {words::kInventoryFile, "ВЕЩИ"},  {words::kTasksFile, "ЗАДАНИЯ"},
        {words::kHintsFile, "ПОДСКАЗКИ"}, {words::kAuthorFile, "АВТОР"},
        {words::kRulesFile, "ПОМОЩЬ"},    {words::kKeywordsFile, "КЛЮЧЕВЫЕ СЛОВА"},
    };
    for (const Side& side : kSides) {
      if (folder_.Has(side.name)) continue;
      out_.Warning(kMain, 1, "missing-side-file",
                   "в игре нет файла "_cp + std::string(side.name) + ": на команду "_cp +
                       FromUtf8(side.command) + " игрок увидит «В этой игре нет файла "_cp +
                       std::string(side.name) + ".»"_cp);
    }
    if (!folder_.Has(words::kIntroFile))
      out_.Warning(kMain, 1, "missing-side-file",
                   "в игре нет файла intro.txt: вступления перед игрой не будет"_cp);
    for (std::string_view shown :
         {words::kIntroFile, words::kRulesFile, words::kAuthorFile, words::kKeywordsFile})
      if (const SourceFile* file = File(std::string(shown))) CheckShownText(*file, folder_, out_);
    List(words::kInventoryFile, 2);
    List(words::kTasksFile, 2);
    List(words::kHintsFile, 3);
  }

  // A list file: entries of `stride` lines, the first a condition list.
  void List(std::string_view name, std::size_t stride) {
    const SourceFile* file = File(std::string(name));
    if (!file) return;
    const std::vector<std::string>& lines = file->lines;
    for (std::size_t i = 0; i < lines.size(); i += stride) {
      const long line = static_cast<long>(i + 1);
      if (i + 1 >= lines.size()) {
        out_.Error(file->name, line, "list-incomplete",
                   "после строки условий нет строки текста: список покажется с ошибкой"_cp);
        break;
      }
      try {
        ForEachListedCondition(lines[i], 0, true, true, [&](std::string_view digits, bool value) {
          const long n = ConditionNumber(digits);
          if (!Conditions::InRange(n)) throw ScriptError("out of range");
          tested_.push_back({n, {file->name, line}, value});
        });
      } catch (const ScriptError&) {
        out_.Error(file->name, line, "bad-condition",
                   "строка условий списка нечитаема: нужны номера условий от -1 до 10000 через "
                   "один пробел (пустой строка быть не может)"_cp);
      }
    }
  }

  const LocationFacts* Common() const {
    for (const LocationFacts& f : facts_)
      if (f.room == 0) return &f;
    return nullptr;
  }

  void Events() {
    const LocationFacts* common = Common();
    std::set<long> anywhere;
    for (const LocationFacts& f : facts_)
      for (const auto& [n, place] : f.scoreVariables) anywhere.insert(n);
    for (const LocationFacts& f : facts_) {
      for (const ConditionUse& event : f.events) {
        const bool fires = f.room == 0 ? anywhere.count(event.number) > 0
                                       : f.scoreVariables.count(event.number) > 0 ||
                                             (common && common->scoreVariables.count(event.number));
        if (fires) continue;
        out_.Error(event.place.file, event.place.line, "event-never-fires",
                   "событие никогда не сработает: условие "_cp + std::to_string(event.number) +
                       (f.room == 0 ? " не вычисляет ни одна строка ПС"_cp
                                    : " не вычисляет ни одна строка ПС этой локации или "
                                      "room0.txt"_cp) +
                       " (события вызывает только ПС, не Д)"_cp);
      }
    }
  }

  void Reachability() {
    std::map<long, const LocationFacts*> byRoom;
    for (const LocationFacts& f : facts_) byRoom[f.room] = &f;
    std::set<long> reached;
    std::queue<long> next;
    auto visit = [&](long room) {
      if (reached.insert(room).second) next.push(room);
    };
    if (byRoom.count(1)) visit(1);
    if (const LocationFacts* common = Common())
      for (const auto& [room, place] : common->moves) visit(room);
    while (!next.empty()) {
      const long room = next.front();
      next.pop();
      if (auto it = byRoom.find(room); it != byRoom.end())
        for (const auto& [target, place] : it->second->moves) visit(target);
    }
    for (const auto& [room, name] : rooms_)
      if (room > 0 && !reached.count(room))
        out_.Warning(name, 1, "unreachable-room",
                     "в эту локацию не ведет ни одна строка ИД из локаций, достижимых из "
                     "локации 1"_cp);
  }

  void ConditionUses() {
    // A condition tested only as "-N" is the authors' way of saying "always": never set, never
    // a mistake.
    std::map<long, Place> set, tested, neededTrue;
    auto test = [&](const ConditionUse& u) {
      tested.emplace(u.number, u.place);
      if (u.needsTrue) neededTrue.emplace(u.number, u.place);
    };
    for (const LocationFacts& f : facts_) {
      for (const ConditionUse& u : f.set) set.emplace(u.number, u.place);
      for (const ConditionUse& u : f.tested) test(u);
      for (const ConditionUse& u : f.events) test(u);
    }
    for (const ConditionUse& u : tested_) test(u);
    // Conditions the program keeps itself: 0 (the good side leads), 3000 (a moderate
    // character) and -1.
    auto own = [](long n) { return n == 0 || n == 3000 || n == -1; };
    for (const auto& [n, place] : set)
      if (!own(n) && !tested.count(n))
        out_.Warning(place.file, place.line, "condition-never-tested",
                     "условие "_cp + std::to_string(n) +
                         " ставится, но нигде не проверяется (Л, ОП, ПС, списки, слова)"_cp);
    for (const auto& [n, place] : neededTrue)
      if (!own(n) && !set.count(n))
        out_.Warning(place.file, place.line, "condition-never-set",
                     "условие "_cp + std::to_string(n) +
                         " проверяется, но его не ставит ни одна строка Д, ВЕР или ПС: оно "
                         "всегда ложно"_cp);
  }

  // A partner of a synonym is searched for cut like the pattern word whose synonym it is: under
  // %СКАЛ% the partner УТЕС becomes ТЕ and is found in «тетрадь».
  void SynonymCuts() {
    const LocationFacts* common = Common();
    for (const LocationFacts& f : facts_) {
      std::multimap<std::string, std::pair<const SynonymPair*, bool>> entries;
      auto add = [&](const LocationFacts& from) {
        for (const SynonymPair& s : from.synonyms) {
          entries.emplace(MatchingForm(s.main), std::make_pair(&s, true));
          entries.emplace(MatchingForm(s.partner), std::make_pair(&s, false));
        }
      };
      add(f);
      if (common && &f != common) add(*common);
      std::set<std::pair<std::string, const SynonymPair*>> reported;
      for (const PatternWord& word : f.patternWords) {
        if (word.written.find('%') == std::string::npos) continue;
        const std::string core = MatchingForm(CutLikePatternWord(word.written, word.written));
        auto [from, to] = entries.equal_range(core);
        for (auto it = from; it != to; ++it) {
          const SynonymPair* pair = it->second.first;
          const std::string& other = it->second.second ? pair->partner : pair->main;
          if (!reported.insert({word.written, pair}).second) continue;
          try {
            const std::string fragment = CutLikePatternWord(word.written, other);
            if (fragment.empty())
              out_.Error(word.place.file, word.place.line, "synonym-too-short",
                         "от синонима «"_cp + other + "» слова «"_cp + word.written +
                             "» знак % оставляет пустое место: слово найдется в любой "
                             "команде"_cp);
            else if (fragment.size() <= 2)
              out_.Warning(word.place.file, word.place.line, "synonym-cut",
                           "синоним "_cp + "«"_cp + other + "» слова «"_cp + word.written +
                               "» ищется обрезанным, как само слово: «"_cp + fragment +
                               "» найдется в любом слове с этими буквами"_cp);
          } catch (const ScriptError&) {
            out_.Error(word.place.file, word.place.line, "synonym-too-short",
                       "синоним «"_cp + other + "» слова «"_cp + word.written +
                           "» короче, чем обрезает знак %: игра закончится с ошибкой"_cp);
          }
        }
      }
    }
  }

  GameFolder folder_;
  Findings out_;
  std::map<std::string, SourceFile> files_;
  std::map<long, std::string> rooms_;
  std::vector<LocationFacts> facts_;
  std::vector<ConditionUse> tested_;  // by the list files
};

}  // namespace

Findings CheckGame(const std::filesystem::path& folder) {
  return GameChecker(folder).Run();
}

}  // namespace mireval::check
