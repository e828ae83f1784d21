#include "damaged/damaged_games.h"

#include <random>
#include <set>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/text.h"

namespace mireval {

namespace {

constexpr std::size_t kHuge = std::size_t{10} << 20;  // 10 MB
constexpr int kMany = 100000;

DamagedGame Game(std::string name, GameFiles files) {
  return {std::move(name), std::move(files)};
}

// The base game with one file replaced (or removed, for std::nullopt).
DamagedGame Changed(const std::string& name, const std::string& file,
                    std::optional<std::string> contents, GameFiles files = BaseGame()) {
  if (contents)
    files[file] = std::move(*contents);
  else
    files.erase(file);
  return Game(name, std::move(files));
}

std::string Scrambled(const std::string& plain, CipherKind kind = CipherKind::Ordinary) {
  return Encrypt(SplitLines(plain), kind);
}

// `count` condition numbers within 1..10000, "-" before every `negateEvery`-th, blank-separated.
std::string Conditions(int count, int negateEvery = 0) {
  std::string out;
  out.reserve(static_cast<std::size_t>(count) * 6);
  for (int k = 0; k < count; ++k) {
    if (negateEvery > 0 && k % negateEvery == 0) out += '-';
    out += std::to_string(1 + k % 10000);
    out += ' ';
  }
  return out;
}

std::string Repeat(const std::string& piece, std::size_t bytes) {
  std::string out;
  out.reserve(bytes + piece.size());
  while (out.size() < bytes) out += piece;
  return out;
}

// Inserts a line before the middle line of a text.
std::string WithLineInMiddle(const std::string& text, const std::string& line) {
  std::vector<std::string> lines = SplitLines(text);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2), line);
  return JoinCrLf(lines);
}

std::string RandomBytes(std::mt19937& rng, std::size_t size) {
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng() & 0xFF);
  return out;
}

// A line of script: a real line kind followed by random pieces that the readers care about.
std::string RandomScriptLine(std::mt19937& rng) {
  static const char* const kinds[] = {"РН",        "ОП",
                                      "ОП ",       "Т ",
                                      "Л ",        "Д ",
                                      "СС",        "СТ",
                                      "ИД ",       "ДИАЛ",
                                      "ДИАЛ АВТО", "ДИ ",
                                      "КДИАЛ",     "ПС ",
                                      "СОБ ",      "КАР ",
                                      "ЗВУ ",      "МУЗ ",
                                      "ГАММА ",    "ВЕР ",
                                      "НЖ",        "НС",
                                      "К1 ",       "К2 ",
                                      "",          "\"ЗАШИФРОВАНО\"",
                                      "\"0\"",     "соб ",
                                      "пс "};
  static const char* const pieces[] = {
      "1", "2",    "5",     "20", "0",     "-", " ",  "  ", "%",     "%%",
      "=", " = ",  ", ",    ">",  "<",     "+", "С",  "Т",  "взять", "фонарь",
      "–", "9999", "10000", "-1", "99999", "x", "ДИ", "Л",  "ИД",    "\t"};
  std::string line = FromUtf8(kinds[rng() % std::size(kinds)]);
  const std::size_t n = rng() % 8;
  for (std::size_t i = 0; i < n; ++i) line += FromUtf8(pieces[rng() % std::size(pieces)]);
  return line;
}

std::string RandomScript(std::mt19937& rng, bool header) {
  std::string out = header ? "РН случайная\r\n"_cp : std::string();
  const std::size_t lines = 10 + rng() % 60;
  for (std::size_t i = 0; i < lines; ++i) out += RandomScriptLine(rng) + "\r\n";
  return out;
}

// A save of the base game in location 1, as the player writes it.
std::string SaveFile(const std::string& line1 = "1,2,0,5,\"Сторожка\"") {
  std::string out = FromUtf8(line1) + "\r\n" +
                    FromUtf8(
                        "\"честь\",\"бесчестье\",\"достойный\",\"благородный\",\"грубый\","
                        "\"подлец\"") +
                    "\r\n";
  for (int i = 0; i < 1000; ++i) out += "\"\"\r\n";
  for (int k = 0; k <= 10000; ++k) out += std::to_string(100 + (k * 37) % 800) + "\r\n";
  return out;
}

// A save with line `lineNo` (1-based) replaced.
std::string SaveWithLine(int lineNo, const std::string& utf8) {
  std::vector<std::string> lines = SplitLines(SaveFile());
  lines[static_cast<std::size_t>(lineNo - 1)] = FromUtf8(utf8);
  return JoinCrLf(lines);
}

std::string ReplaceLineEnds(const std::string& text, const std::string& with) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) out += std::string(NextLine(text, pos)) + with;
  return out;
}

}  // namespace

std::vector<DamagedGame> TruncatedGames(const GameFiles& demo) {
  std::vector<DamagedGame> out;
  for (const auto& [file, text] : BaseGame()) {
    const std::size_t n = text.size();
    for (std::size_t cut : std::set<std::size_t>{0, 1, 3, n / 3, n / 2, n - 1}) {
      if (cut >= n) continue;
      out.push_back(
          Changed(file + " cut to " + std::to_string(cut) + " bytes", file, text.substr(0, cut)));
    }
  }
  GameFiles scrambled = BaseGame();
  for (const char* file : {"room0.txt", "room1.txt", "hints.txt"})
    scrambled[file] = Scrambled(scrambled[file]);
  for (const char* file : {"room0.txt", "room1.txt", "hints.txt"}) {
    const std::string& text = scrambled[file];
    for (std::size_t cut : {text.size() / 3, text.size() / 2 + 1, text.size() - 3})
      out.push_back(
          Changed(std::string("scrambled ") + file + " cut to " + std::to_string(cut) + " bytes",
                  file, text.substr(0, cut), scrambled));
  }
  for (const auto& [file, text] : demo) {
    for (std::size_t cut : {text.size() / 2, text.size() - 1})
      out.push_back(Changed("demo " + file + " cut to " + std::to_string(cut) + " bytes", file,
                            text.substr(0, cut), demo));
  }
  return out;
}

std::vector<DamagedGame> RandomByteGames(const GameFiles& demo) {
  std::vector<DamagedGame> out;
  std::mt19937 rng(20240601);
  for (int seed = 0; seed < 2; ++seed)
    for (const auto& [file, text] : BaseGame())
      out.push_back(Changed(file + " replaced by random bytes #" + std::to_string(seed), file,
                            RandomBytes(rng, 1 + rng() % 3000)));
  for (const auto& [file, text] : demo)
    out.push_back(Changed("demo " + file + " replaced by random bytes", file,
                          RandomBytes(rng, 1 + rng() % 2000), demo));
  for (int k = 0; k < 24; ++k) {
    GameFiles files = BaseGame();
    files["room1.txt"] = RandomScript(rng, k % 4 != 0);
    files["room0.txt"] = RandomScript(rng, k % 3 != 0);
    if (k % 2) files["room2.txt"] = RandomScript(rng, true);
    out.push_back(Game("random script lines #" + std::to_string(k), std::move(files)));
  }
  for (int k = 0; k < 20; ++k) {
    GameFiles files = BaseGame();
    for (int flip = 0; flip < 8; ++flip) {
      auto it = files.begin();
      std::advance(it, static_cast<std::ptrdiff_t>(rng() % files.size()));
      std::string& text = it->second;
      if (!text.empty()) text[rng() % text.size()] = static_cast<char>(rng() & 0xFF);
    }
    out.push_back(Game("eight random bytes changed #" + std::to_string(k), std::move(files)));
  }
  return out;
}

std::vector<DamagedGame> HugeLineGames() {
  const std::string letters = Repeat("абвгд"_cp, kHuge);
  const std::string digits = Repeat("1234567890", kHuge);
  const GameFiles base = BaseGame();
  const std::string& room1 = base.at("room1.txt");
  auto inRoom1 = [&](const std::string& name, const std::string& line) {
    return Changed(name, "room1.txt", WithLineInMiddle(room1, line));
  };
  std::vector<DamagedGame> out;
  out.push_back(Changed("room1.txt is one 10 MB line", "room1.txt", "РН"_cp + letters));
  out.push_back(Changed("10 MB line of description text", "room1.txt",
                        "РН Сторожка\r\nОП\r\n"_cp + letters + "\r\n"));
  out.push_back(inRoom1("10 MB pattern word", "Т "_cp + letters));
  out.push_back(
      inRoom1("10 MB of pattern words that match anything", "Т "_cp + Repeat("%% ", kHuge)));
  out.push_back(Changed("10 MB conditions line", "room1.txt",
                        "РН x\r\nОП\r\nx\r\n\r\nТ ВЗЯТЬ ФОНАРЬ\r\nЛ "_cp + digits + "\r\nда\r\n"));
  out.push_back(Changed("10 MB condition-setting line", "room1.txt",
                        "РН x\r\nОП\r\nx\r\n\r\nТ ВЗЯТЬ ФОНАРЬ\r\nД "_cp + digits + "\r\nда\r\n"));
  out.push_back(inRoom1("10 MB score variable", "ПС 30 = "_cp + Repeat("+1", kHuge) + " > 3"));
  out.push_back(inRoom1("10 MB synonym list", "ВЗЯТЬ = "_cp + Repeat("БРАТЬ, "_cp, kHuge)));
  out.push_back(inRoom1("10 MB of main words", Repeat("А = "_cp, kHuge)));
  out.push_back(inRoom1("10 MB word-column line", "К1 "_cp + letters));
  out.push_back(inRoom1("10 MB dialogue header", "ДИАЛ "_cp + letters));
  out.push_back(Changed("10 MB event text", "room0.txt",
                        base.at("room0.txt") + "СОБ 20 "_cp + letters + "\r\n"));
  out.push_back(Changed("10 MB title in main.txt", "main.txt",
                        "Текстовый квест\r\n"_cp + letters + "\r\n3\r\n"));
  out.push_back(Changed("10 MB introduction line", "intro.txt", letters));
  out.push_back(Changed("10 MB inventory item", "invent.txt", "-2\r\n"_cp + letters + "\r\n"));
  out.push_back(Changed("10 MB number line in a scrambled file", "room1.txt",
                        MarkerLine(CipherKind::Ordinary) + "\r\n" + digits + "\r\n\"0\"\r\n"));
  for (DamagedGame& g : out) g.scriptUtf8 = kBaseGameShortScriptUtf8;
  return out;
}

std::vector<DamagedGame> ManyConditionGames() {
  const GameFiles base = BaseGame();
  const std::string& room1 = base.at("room1.txt");
  auto inRoom1 = [&](const std::string& name, const std::string& line) {
    return Changed(name, "room1.txt", WithLineInMiddle(room1, line));
  };
  const std::string many = Conditions(kMany), negated = Conditions(kMany, 1);
  std::vector<DamagedGame> out;
  out.push_back(Changed("100,000 conditions on a description line", "room1.txt",
                        "РН x\r\nОП\r\nпросто\r\n\r\nОП "_cp + many + "\r\nредко\r\n"));
  out.push_back(Changed("100,000 conditions that hold on a description line", "room1.txt",
                        "РН x\r\nОП\r\nпросто\r\n\r\nОП "_cp + negated + "\r\nвсегда\r\n"));
  out.push_back(Changed("100,000 conditions on an entry", "room1.txt",
                        "РН x\r\nОП\r\nx\r\n\r\nТ ВЗЯТЬ ФОНАРЬ\r\nЛ "_cp + negated + "\r\nда\r\n"));
  out.push_back(Changed("100,000 conditions set by an entry", "room1.txt",
                        "РН x\r\nОП\r\nx\r\n\r\nТ ВЗЯТЬ ФОНАРЬ\r\nД "_cp + many + "\r\nда\r\n"));
  std::string terms;
  for (int k = 0; k < kMany; ++k) terms += " + " + std::to_string(1 + k % 10000);
  out.push_back(inRoom1("100,000 terms in a score variable", "ПС 30 = "_cp + terms + " > 2"));
  out.push_back(
      inRoom1("100,000 conditions on a word-column line", "К1 "_cp + negated + "слово"_cp));
  out.push_back(Changed("100,000 conditions on a dialogue", "room0.txt",
                        "РН x\r\nДИАЛ ЛЕСНИК%\r\nЛ "_cp + negated + "\r\nДИ 1\r\nЛ "_cp + many +
                            "\r\nответ\r\n\r\nДИ 2\r\nЛ "_cp + negated +
                            "\r\nдругой\r\n\r\nКДИАЛ\r\n"_cp));
  out.push_back(Changed("100,000 conditions in the inventory", "invent.txt",
                        negated.substr(0, negated.size() - 1) + "\r\nвсе\r\n"_cp));
  out.push_back(Changed("100,000 conditions in a hint", "hints.txt",
                        many.substr(0, many.size() - 1) + "\r\nподсказка\r\n-\r\n"_cp));
  std::string synonyms = "ВЗЯТЬ = "_cp;
  for (int k = 0; k < kMany; ++k) synonyms += "СЛОВО"_cp + std::to_string(k) + ", ";
  out.push_back(inRoom1("100,000 synonyms on a line", synonyms + "ПОСЛЕДНЕЕ"_cp));
  std::string events;
  for (int k = 0; k < kMany; ++k) events += "СОБ 20 событие "_cp + std::to_string(k) + "\r\n";
  out.push_back(Changed("100,000 event lines", "room0.txt", base.at("room0.txt") + events));
  return out;
}

std::vector<DamagedGame> MissingFileGames() {
  std::vector<DamagedGame> out;
  for (const auto& [file, text] : BaseGame()) out.push_back(Changed(file + " missing", file, {}));
  GameFiles files = BaseGame();
  for (const char* file : {"intro.txt", "rules.txt", "author.txt", "keywords.txt", "invent.txt",
                           "zadan.txt", "hints.txt"})
    files.erase(file);
  out.push_back(Game("every side file missing", files));
  files = BaseGame();
  files.erase("room0.txt");
  files.erase("room2.txt");
  out.push_back(Game("room0.txt and room2.txt missing", files));
  out.push_back(Game("empty folder", {}));
  out.push_back(Game("only main.txt", {{"main.txt", BaseGame().at("main.txt")}}));
  return out;
}

std::vector<DamagedGame> MarkerGames() {
  std::vector<DamagedGame> out;
  const GameFiles base = BaseGame();
  for (CipherKind kind : {CipherKind::Ordinary, CipherKind::Strong}) {
    const std::string marker = MarkerLine(kind);
    const std::string which = kind == CipherKind::Ordinary ? "ordinary" : "strong";
    for (const char* file : {"room1.txt", "room0.txt", "room2.txt", "invent.txt", "zadan.txt",
                             "hints.txt", "main.txt", "intro.txt", "rules.txt"})
      out.push_back(Changed(which + " marker in the middle of " + file, file,
                            WithLineInMiddle(base.at(file), marker)));
    out.push_back(Changed(which + " marker as the last line of room1.txt", "room1.txt",
                          base.at("room1.txt") + marker + "\r\n"));
    out.push_back(Changed(which + " marker before the header", "room1.txt",
                          marker + "\r\n" + base.at("room1.txt")));
  }
  out.push_back(Changed("room1.txt scrambled twice", "room1.txt",
                        Scrambled(Scrambled(base.at("room1.txt")))));
  out.push_back(Changed("room0.txt scrambled, then strongly", "room0.txt",
                        Scrambled(Scrambled(base.at("room0.txt")), CipherKind::Strong)));
  out.push_back(
      Changed("scrambled room1.txt holding a marker in its middle", "room1.txt",
              Scrambled(WithLineInMiddle(base.at("room1.txt"), MarkerLine(CipherKind::Ordinary)))));
  return out;
}

std::vector<DamagedGame> TransitionLoopGames() {
  const GameFiles base = BaseGame();
  std::vector<DamagedGame> out;
  auto moving = [](const std::string& header, int to) {
    return header + "\r\nОП\r\nпереход\r\n\r\nТ %%\r\nидем\r\nИД "_cp + std::to_string(to) + "\r\n";
  };
  GameFiles files = base;
  files["room1.txt"] = moving("РН один"_cp, 2);
  files["room2.txt"] = moving("РН два"_cp, 1);
  out.push_back(Game("every command moves between two locations", files));
  out.push_back(Changed("every command anywhere re-enters location 1", "room0.txt",
                        "РН x\r\nТ %%\r\nИД 1\r\n"_cp));
  out.push_back(Changed("location 1 enters itself", "room1.txt", moving("РН сам"_cp, 1)));
  files = base;
  for (int k = 1; k <= 300; ++k)
    files["room" + std::to_string(k) + ".txt"] =
        moving("РН номер "_cp + std::to_string(k), k % 300 + 1);
  out.push_back(Game("a ring of 300 locations", files));
  for (const char* target : {"7", "0", "-3", "99999999999999999999", "абв", "", "1.5", "2e9"})
    out.push_back(
        Changed(std::string("transition to \"") + target + "\"", "room1.txt",
                "РН x\r\nОП\r\nпереход\r\n\r\nТ %%\r\nидем\r\nИД "_cp + FromUtf8(target) + "\r\n"));
  out.push_back(
      Changed("an automatic answer that re-enters the location", "room1.txt",
              "РН x\r\nОП\r\nтекст\r\n\r\nДИАЛ АВТО\r\nДИ 1\r\nснова\r\nИД 1\r\n\r\nКДИАЛ\r\n"_cp));
  out.push_back(Changed("a dialogue answer that re-enters the location", "room0.txt",
                        "РН x\r\nДИАЛ %%\r\nДИ 1\r\nснова\r\nИД 1\r\n\r\nКДИАЛ\r\n"_cp));
  // The forester's farewell moves to location 2; every click during its wait comes back to it.
  static const std::string clicks = [] {
    std::string script = "\nдиал лесник\n/answer 2\n";
    for (int k = 0; k < 10000; ++k) script += "/answer 2\n";
    return script + "\n/state\n";
  }();
  DamagedGame clicked = Game("10,000 clicks on an answer while its move waits", base);
  clicked.scriptUtf8 = clicks.c_str();
  out.push_back(std::move(clicked));
  return out;
}

std::vector<DamagedGame> BrokenScrambledGames() {
  const GameFiles base = BaseGame();
  const std::string good = Scrambled(base.at("room1.txt"));
  const std::string body = good.substr(good.find("\r\n") + 2);
  const std::string ordinary = MarkerLine(CipherKind::Ordinary) + "\r\n";
  std::vector<DamagedGame> out;
  auto room1 = [&](const std::string& name, const std::string& text) {
    out.push_back(Changed("scrambled room1.txt: " + name, "room1.txt", text));
  };
  for (const char* line : {"abc", "99999", "-5", "", " 209 ", "2e2", "0x10", "1e400", "\"0"})
    room1(std::string("a line \"") + line + "\" in the middle", WithLineInMiddle(good, line));
  room1("the last line not closed", good.substr(0, good.rfind("\"0\"")));
  room1("ordinary numbers under the strong marker", MarkerLine(CipherKind::Strong) + "\r\n" + body);
  room1("only the marker", ordinary);
  room1("one empty line", ordinary + "\"0\"\r\n");
  room1("a number of 5000 digits", ordinary + std::string(5000, '9') + "\r\n\"0\"\r\n");
  room1("a thousand empty lines", ordinary + Repeat("\"0\"\r\n", 5000));
  for (const char* file : {"room0.txt", "invent.txt", "hints.txt", "zadan.txt"})
    out.push_back(Changed(std::string("scrambled ") + file + " with a line that is no number", file,
                          WithLineInMiddle(Scrambled(base.at(file)), "x")));
  return out;
}

std::vector<DamagedGame> DamagedSaveGames() {
  std::vector<DamagedGame> out;
  auto save = [&](const std::string& name, const std::string& text) {
    GameFiles files = BaseGame();
    files["damaged.sav"] = text;
    out.push_back(Game("save file: " + name, std::move(files)));
  };
  const std::string good = SaveFile();
  save("as written", good);
  for (std::size_t cut :
       {std::size_t{0}, std::size_t{7}, good.find("\"\""), good.size() / 2, good.size() - 3})
    save("cut to " + std::to_string(cut) + " bytes", good.substr(0, cut));
  std::mt19937 rng(11003);
  save("random bytes", RandomBytes(rng, 60000));
  save("random bytes in its middle",
       good.substr(0, 20000) + RandomBytes(rng, 200) + good.substr(20200));
  for (const char* line1 :
       {"7,0,0,5,\"x\"", "0,0,0,5,\"x\"", "-1,0,0,5,\"x\"", "\"текст\",0,0,5,\"x\"",
        "1e300,0,0,5,\"x\"", "1,\"много\",0,5,\"x\"", "1,1e308,1e308,5,\"x\"", "1,0,0,-5,\"x\"",
        "1,0,0,5,\"незакрыто", "1,0,0,5,\"x\",6", "1,0,0", ",,,,", "1,2,3,4,5"})
    save(std::string("first line ") + line1, SaveWithLine(1, line1));
  save("second line short", SaveWithLine(2, "\"a\",\"b\""));
  save("a picture line unclosed", SaveWithLine(500, "\"картина"));
  save("a long picture name", SaveWithLine(3, "\"" + std::string(10000, 'x') + "\""));
  save("a condition line that is text", SaveWithLine(1003 + 5, "abc"));
  save("a condition line that is huge", SaveWithLine(1003 + 6, "1e20"));
  save("a condition line quoted", SaveWithLine(1003 + 7, "\"100\""));
  save("LF line ends", ReplaceLineEnds(good, "\n"));
  save("CR line ends", ReplaceLineEnds(good, "\r"));
  save("11003 empty lines", Repeat("\r\n", 11003 * 2));
  return out;
}

std::vector<DamagedGame> RuleBreakingGames() {
  const GameFiles base = BaseGame();
  const std::string& room1 = base.at("room1.txt");
  std::vector<DamagedGame> out;
  auto room1With = [&](const std::string& name, const std::string& line) {
    out.push_back(Changed(name, "room1.txt", WithLineInMiddle(room1, line)));
  };
  std::string dialogue = "РН x\r\nДИАЛ ЛЕСНИК%\r\n"_cp;
  for (int k = 1; k <= 13; ++k) dialogue += "ДИ "_cp + std::to_string(k) + "\r\nответ\r\n\r\n"_cp;
  out.push_back(Changed("thirteen answers", "room0.txt", dialogue + "КДИАЛ\r\n"_cp));
  out.push_back(Changed("a dialogue that runs off the end of its file", "room0.txt",
                        "РН x\r\nДИАЛ ЛЕСНИК%\r\nДИ 1\r\nответ\r\n"_cp));
  room1With("score variable without a number", "ПС = 3"_cp);
  room1With("score variable of condition 0", "ПС 0 = 3"_cp);
  room1With("score variable of condition 10001", "ПС 10001 = 3"_cp);
  room1With("score variable over condition 20000", "ПС 5 = 20000 + 1"_cp);
  room1With("score variable of a huge number", "ПС 99999999999 = 3"_cp);
  std::string chain = "РН цепь\r\nОП\r\nтекст\r\n\r\n"_cp;
  for (int k = 1500; k >= 2; --k)
    chain += "ПС "_cp + std::to_string(k) + " = " + std::to_string(k - 1) + " > 0\r\nСОБ "_cp +
             std::to_string(k) + " цепь " + std::to_string(k) + "\r\n";
  out.push_back(Changed("a chain of 1500 score variables with events", "room1.txt",
                        chain + "ПС 1 = 9999\r\n"_cp));
  out.push_back(Changed("an event that clears its own condition", "room0.txt",
                        base.at("room0.txt") + "СОБ 20 ВЕР 20 0\r\nСОБ 21 ВЕР 21 0\r\n"_cp));
  room1With("an entry head inside a block", "Т ВЗЯТЬ ФОНАРЬ\r\nда\r\nТ ВЗЯТЬ\r\nнет"_cp);
  for (const char* line : {"ГАММА x", "ГАММА ", "ГАММА 99999999", "КАР x картина.jpg", "КАР 2",
                           "КАР 0 ", "ВЕР 12", "ВЕР 99999 50", "ВЕР 3 x", "НЖ", "МУЗ ", "ЗВУ ..",
                           "К1 5 ", "К1 20000 слово", "К2 -", "СОБ", "Л", "Д 10001", "Д -1 x1"})
    out.push_back(Changed(std::string("description line \"") + line + "\"", "room1.txt",
                          "РН x\r\nОП\r\n"_cp + FromUtf8(line) + "\r\nтекст\r\n"_cp));
  std::string longText = "РН x\r\nОП\r\n"_cp;
  for (int k = 0; k < 20000; ++k)
    longText += "Строка длинного описания номер "_cp + std::to_string(k) + "\r\n";
  out.push_back(Changed("a description of 20,000 lines", "room1.txt", longText));
  std::string synonyms = room1;
  for (int k = 0; k < 3000; ++k)
    synonyms += "СЛОВО"_cp + std::to_string(k) + " = ДРУГОЕ"_cp + "\r\n";
  out.push_back(Changed("3000 synonym pairs", "room1.txt", synonyms));
  out.push_back(
      Changed("an empty condition line in the inventory", "invent.txt", "\r\nвещь\r\n"_cp));
  out.push_back(
      Changed("a leading blank in a hint condition", "hints.txt", " 1\r\nподсказка\r\n"_cp));
  out.push_back(Changed("hints without separators", "hints.txt", "-1\r\nодна\r\n-2\r\n"_cp));
  out.push_back(Changed("main.txt of five lines", "main.txt",
                        "Текстовый квест\r\nx\r\n1\r\nдобро\r\nзло\r\n"_cp));
  out.push_back(Changed("main.txt of someone else", "main.txt", "Не квест\r\nx\r\n1\r\n"_cp));
  out.push_back(
      Changed("colour scheme that is text", "main.txt", "Текстовый квест\r\nx\r\nсиний\r\n"_cp));
  out.push_back(Changed("colour scheme out of range", "main.txt",
                        "Текстовый квест\r\nx\r\n99999999999\r\n"_cp));
  out.push_back(Changed("directives in the introduction", "intro.txt",
                        "ВЕР 1 100\r\nНЖ\r\nГАММА 7\r\nКАР 3 нет.jpg\r\nдалее\r\n"_cp));
  out.push_back(Changed("NUL and control bytes", "room1.txt",
                        "РН x\r\nОП\r\nа\0б\x01\x1b[2J\r\n\r\nТ ВЗЯТЬ\0\r\nда\r\n"_cp));
  out.push_back(Changed("CR line ends", "room1.txt", ReplaceLineEnds(room1, "\r")));
  out.push_back(Changed("LF line ends", "room1.txt", ReplaceLineEnds(room1, "\n")));
  out.push_back(Changed("room0.txt is a folder", "room0.txt", kFolderEntry));
  return out;
}

std::vector<DamagedGame> SlowShapeGames() {
  const GameFiles base = BaseGame();
  const std::string& room1 = base.at("room1.txt");
  std::vector<DamagedGame> out;
  // Condition k needs condition k - 1 and the lines stand last to first: every pass of the score
  // recomputation turns one more True and starts again.
  std::vector<std::string> lines = SplitLines(room1);
  std::vector<std::string> chain;
  for (int k = 3000; k >= 2; --k)
    chain.push_back("ПС "_cp + std::to_string(1000 + k) + " = " + std::to_string(999 + k) + " > 0");
  chain.push_back("ПС 1001 = 1"_cp);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2), chain.begin(),
               chain.end());
  out.push_back(Changed("3,000 score variables in a chain written last to first", "room1.txt",
                        JoinCrLf(lines)));

  static const std::string blanks =
      "\n" + std::string(1000000, ' ') + "\n" + kBaseGameShortScriptUtf8;
  DamagedGame typed = Game("a typed line of 1,000,000 blanks", base);
  typed.scriptUtf8 = blanks.c_str();
  out.push_back(std::move(typed));

  const std::string letters = Repeat("абвгд"_cp, kHuge);
  const auto inRoom1 = [&](const std::string& name, const std::string& line) {
    DamagedGame g = Changed(name, "room1.txt", WithLineInMiddle(room1, line));
    g.scriptUtf8 = kBaseGameShortScriptUtf8;
    return g;
  };
  out.push_back(inRoom1("10 MB score variable without a number", "ПС "_cp + letters));
  DamagedGame conditions =
      Changed("10 MB conditions line with a number out of range", "room1.txt",
              "РН x\r\nОП\r\nx\r\n\r\nТ ВЗЯТЬ ФОНАРЬ\r\nЛ 99999 "_cp + letters + "\r\nда\r\n");
  conditions.scriptUtf8 = kBaseGameShortScriptUtf8;
  out.push_back(std::move(conditions));
  return out;
}

std::vector<DamagedGame> SpecialFileGames() {
  std::vector<DamagedGame> out;
  const GameFiles base = BaseGame();
  for (const auto& [file, text] : base) {
    out.push_back(Changed(file + " a named pipe", file, kPipeEntry));
    out.push_back(
        Changed(file + " a link out of the folder", file, kLinkEntry + "../outside/" + file));
    out.push_back(Changed(file + " a link to itself", file, kLinkEntry + file));
  }
  GameFiles linked = base;
  linked["картина.jpg"] = kLinkEntry + "/dev/zero";
  linked["скрип.wav"] = kLinkEntry + "/dev/zero";
  linked["ветер.mp3"] = kPipeEntry;
  out.push_back(Game("media linked to a device and a pipe", linked));
  // Every file reached through a folder link that leads out.
  GameFiles folder;
  for (const auto& [file, text] : base) folder[file] = kLinkEntry + "../outside/" + file;
  folder["sub"] = kLinkEntry + "../outside";
  out.push_back(Game("every file a link out of the folder", folder));
  return out;
}

}  // namespace mireval
