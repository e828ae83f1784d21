#include "checker/location_check.h"

#include <algorithm>
#include <optional>
#include <set>
#include <variant>

#include "base/script_error.h"
#include "base/text.h"
#include "base/variant.h"
#include "base/vocabulary.h"
#include "checker/game_folder.h"
#include "interpreter/events.h"
#include "interpreter/execution.h"
#include "interpreter/matcher.h"
#include "interpreter/score.h"
#include "model/game_state.h"
#include "script/condition_list.h"
#include "script/game_files.h"
#include "view/output.h"

namespace mireval::check {

namespace {

constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
constexpr int kMaxAnswers = 12;

bool IsShort(const std::string& line) {
  return line.size() <= 1;
}

bool IsSynonymLine(const std::string& line) {
  return line.size() > 3 && line.find(" = ", 1) != std::string::npos;
}

bool IsWordsLine(const std::string& line) {
  return StartsWith(line, words::kWords1) || StartsWith(line, words::kWords2);
}

// Lines that every reader of the file finds wherever they stand.
bool IsFreeLine(const std::string& line) {
  return IsScoreLine(line) || IsEventLine(line) || IsSynonymLine(line) || IsWordsLine(line);
}

bool IsBlockHead(const std::string& line) {
  return StartsWith(line, words::kDescription) || StartsWith(line, words::kCommand) ||
         StartsWith(line, words::kDialogue);
}

// A line as a finding quotes it: whole when short, else its start.
std::string Quote(std::string_view line) {
  constexpr std::size_t kShown = 60;
  if (line.size() <= kShown) return "«"_cp + std::string(line) + "»"_cp;
  return "«"_cp + std::string(line.substr(0, kShown)) + "…»"_cp;
}

std::string LineRef(std::size_t index) {
  return std::to_string(index + 1);
}

bool OnlyBlanks(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

// One-letter words that Russian commands are full of: a pattern word made of one of them is
// found in «поговорить с…», «войти в…».
bool IsShortWord(const std::string& core) {
  static const std::string letters = "ВКСОУИАЯ"_cp;
  return core.size() == 1 && letters.find(UpperChar(core[0])) != std::string::npos;
}

class LocationChecker {
 public:
  LocationChecker(const SourceFile& file, long room, const GameFolder& folder, Findings& findings)
      : f_(file), lines_(file.lines), room_(room), folder_(folder), out_(findings) {
    facts_.room = room;
  }

  LocationFacts Run() {
    if (room_ > 0) Header();
    for (std::size_t i = 0; i < lines_.size(); ++i) AnyWhere(i);
    Blocks();
    if (room_ > 0) Descriptions();
    return std::move(facts_);
  }

  // A text shown whole, as a description is.
  void ShownText() {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < lines_.size(); ++i) shown.push_back(i);
    StoryLines(shown, false);
  }

 private:
  Place At(std::size_t i) const { return {f_.name, static_cast<long>(i + 1)}; }
  void Error(std::size_t i, const char* code, std::string text) {
    out_.Error(f_.name, static_cast<long>(i + 1), code, std::move(text));
  }
  void Warning(std::size_t i, const char* code, std::string text) {
    out_.Warning(f_.name, static_cast<long>(i + 1), code, std::move(text));
  }

  void Header() {
    if (!lines_.empty() && StartsWith(lines_[0], words::kLocationName)) return;
    Error(0, "no-header",
          "файл локации должен начинаться с символов РН и названия локации: игрок увидит "
          "сообщение об ошибке вместо описания"_cp);
  }

  void Descriptions() {
    bool any = false, unconditional = false;
    for (const std::string& line : lines_) {
      if (!StartsWith(line, words::kDescription)) continue;
      any = true;
      if (line.size() <= 3 || OnlyBlanks(std::string_view(line).substr(3))) unconditional = true;
    }
    if (!any)
      Error(0, "no-description",
            "в локации нет ни одного описания (строки ОП): игрок увидит сообщение об ошибке"_cp);
    else if (!unconditional)
      Warning(0, "no-unconditional-description",
              "в локации нет описания без условий (строки ОП без номеров): если ни одно не "
              "подойдет, игрок увидит сообщение об ошибке"_cp);
  }

  // ---- lines read wherever they stand ----------------------------------------------------

  void AnyWhere(std::size_t i) {
    const std::string& line = lines_[i];
    if (IsSynonymLine(line)) Synonyms(i);
    if (i == 0) {
      if (IsScoreLine(line) || IsEventLine(line) || IsWordsLine(line))
        Warning(0, "first-line",
                "первая строка файла не читается как переменная счета, событие или слова "
                "столбцов: это место заголовка РН"_cp);
      return;
    }
    if (IsScoreLine(line)) ScoreVariable(i);
    if (IsEventLine(line)) Event(i);
    if (IsWordsLine(line)) WordsLine(i);
  }

  void Synonyms(std::size_t i) {
    const std::string& line = lines_[i];
    for (std::size_t at = 1; at + 3 <= line.size(); ++at) {
      if (line.compare(at, 3, " = ") != 0) continue;
      const std::string_view main(line.data(), at);
      const std::string_view rest = std::string_view(line).substr(at + 3);
      std::size_t from = 0;
      for (;;) {
        const std::size_t sep = rest.find(", ", from);
        std::string_view partner =
            rest.substr(from, sep == std::string_view::npos ? std::string_view::npos : sep - from);
        if (!partner.empty() && partner[0] == ' ') partner.remove_prefix(1);
        if (!AddSynonym(i, main, partner)) return;
        if (partner.find(',') != std::string_view::npos && main.find(',') == std::string::npos)
          Warning(i, "synonym-comma",
                  "после запятой нет пробела: "_cp + Quote(partner) +
                      " станет одним синонимом. Пишите «А = Б, В»"_cp);
        if (sep == std::string_view::npos) break;
        from = sep + 1;
      }
    }
  }

  // Every " = " makes all the text before it a main word again, and every partner repeats it:
  // the player's table holds so much and no more, and a file that fills it is reported once
  // instead of being copied out without end.
  bool AddSynonym(std::size_t i, std::string_view main, std::string_view partner) {
    synonymBytes_ += main.size() + partner.size();
    if (facts_.synonyms.size() >= static_cast<std::size_t>(kSynonymSlots / 2) ||
        synonymBytes_ > kSynonymBytes) {
      if (!tableFull_)
        Error(i, "synonym-table-full",
              "синонимов в этом файле больше, чем вмещает таблица (1000 пар): игрок увидит "
              "сообщение об ошибке, и часть синонимов пропадет"_cp);
      tableFull_ = true;
      return false;
    }
    facts_.synonyms.push_back({std::string(main), std::string(partner), At(i)});
    return true;
  }

  void ScoreVariable(std::size_t i) {
    const auto parsed = ParseScoreLine(lines_[i]);
    if (const auto* fault = std::get_if<ScoreLineFault>(&parsed)) {
      Error(i, "bad-score-line",
            "переменную счета нельзя прочитать (нужно «ПС номер = выражение», номер от 1): "_cp +
                Quote(fault->quoted) + "; игра закончится с ошибкой"_cp);
      return;
    }
    const ScoreLine& score = std::get<ScoreLine>(parsed);
    if (!Conditions::InRange(score.condition)) {
      Error(i, "condition-range", ConditionRangeText(score.condition));
      return;
    }
    if (!facts_.scoreVariables.count(score.condition))
      facts_.scoreVariables[score.condition] = At(i);
    facts_.set.push_back({score.condition, At(i)});
    for (const ScoreTerm& term : score.terms) {
      if (term.kind != ScoreTerm::IfTrue && term.kind != ScoreTerm::IfFalse) continue;
      if (!Conditions::InRange(term.condition))
        Error(i, "condition-range", ConditionRangeText(term.condition));
      else
        facts_.tested.push_back({term.condition, At(i), term.kind == ScoreTerm::IfTrue});
    }
    const std::string& quoted = score.quoted;  // blanks removed
    const std::size_t eq = quoted.rfind('=');
    if (eq != std::string::npos && eq + 1 < quoted.size()) {
      const char first = quoted[eq + 1];
      if (first == "С"_cpv[0] || first == "Т"_cpv[0])
        Warning(i, "leading-points-term",
                "первое слагаемое "_cp + std::string(1, first) +
                    " без знака ничего не прибавляет: пишите «+ "_cp + std::string(1, first) +
                    "»"_cp);
    }
    for (std::size_t at = eq; at != std::string::npos && at < quoted.size(); ++at) {
      if (quoted[at] != '>' && quoted[at] != '<') continue;
      std::size_t d = at + 1;
      const bool negative = d < quoted.size() && quoted[d] == '-';
      if (negative) ++d;
      long value = 0;
      std::size_t digits = 0;
      for (; d < quoted.size() && IsDigit(quoted[d]) && digits < 6; ++d, ++digits)
        value = value * 10 + (quoted[d] - '0');
      if (digits > 0 && (negative || value == 0))
        Warning(i, "zero-threshold",
                "порог "_cp + std::string(1, quoted[at]) + (negative ? "-" : "") +
                    std::to_string(value) +
                    " не действует: сравниваются только пороги больше 0"_cp);
    }
  }

  void Event(std::size_t i) {
    const std::string& line = lines_[i];
    const std::size_t blank = line.find(' ', 4);
    const std::string key = blank == std::string::npos ? line.substr(4) : line.substr(4, blank - 4);
    bool number = !key.empty() && key.size() <= 5 && (key == "0" || key[0] != '0');
    for (char c : key) number = number && IsDigit(c);
    if (blank == std::string::npos || !number) {
      Warning(i, "bad-event-line",
              "строка события не сработает никогда: нужно «СОБ номер текст», номер без "
              "ведущих нулей, после него один пробел"_cp);
      return;
    }
    facts_.events.push_back({std::stol(key), At(i)});
  }

  void WordsLine(std::size_t i) {
    const std::string& line = lines_[i];
    std::string digits;
    bool negative = false;
    for (std::size_t at = 3; at < line.size(); ++at) {
      const char c = line[at];
      if (c == '-') {
        negative = true;
        continue;
      }
      if (IsDigit(c)) {
        digits += c;
      } else if (c == ' ') {
        if (digits.empty()) continue;
        const long n = digits.size() > 6 ? -2 : std::stol(digits);
        if (n < 0 || n > kMaxCondition)
          Error(i, "condition-range", ConditionRangeText(n));
        else
          facts_.tested.push_back({n, At(i), !negative});
        digits.clear();
        negative = false;
      } else {
        return;  // the word
      }
    }
    Error(i, "bad-word-line",
          "в строке слов для столбцов нет слова (после условий нужен пробел и слово)"_cp);
  }

  // ---- blocks ----------------------------------------------------------------------------

  void Blocks() {
    bool afterReply = false;  // the last block was a command's or answer's reply
    std::size_t replyStart = 0;
    for (std::size_t i = 1; i < lines_.size();) {
      const std::string& line = lines_[i];
      if (IsShort(line)) {
        ++i;
        continue;
      }
      const std::size_t start = i;
      // A command is found only at the start of a block: right after a dialogue's end line it is
      // read as part of that block.
      if (StartsWith(line, words::kCommand) && i > 1 && !IsShort(lines_[i - 1]))
        MissingBlankLine(i, i - 1);
      if (StartsWith(line, words::kDescription)) {
        i = Description(i);
        afterReply = false;
      } else if (StartsWith(line, words::kCommand)) {
        i = Command(i);
        afterReply = true;
        replyStart = start;
      } else if (StartsWith(line, words::kDialogue)) {
        i = Dialogue(i);
        afterReply = false;
      } else if (IsFreeLine(line)) {
        i = FreeLines(i);
        afterReply = false;
      } else {
        i = IgnoredLines(i, afterReply ? replyStart : kNoLine);
        afterReply = false;
      }
    }
  }

  std::size_t BlockEnd(std::size_t from) const {
    while (from < lines_.size() && !IsShort(lines_[from])) ++from;
    return from;
  }

  void MissingBlankLine(std::size_t i, std::size_t blockStart) {
    const std::string& line = lines_[i];
    if (StartsWith(line, words::kDescription) && line.size() > 2 && line[2] != ' ') {
      // «ОПАСНО!»: every scan for descriptions takes it for one, wherever it stands.
      Error(i, "marker-text",
            "строка начинается с ОП: программа примет ее за начало описания, а буквы после ОП "
            "за его условия, и игра закончится с ошибкой"_cp);
      return;
    }
    Error(i, "missing-blank-line",
          "перед строкой "_cp + Quote(lines_[i]) +
              " нет пустой строки: программа прочтет ее как часть блока из строки "_cp +
              LineRef(blockStart) + ", а не как новый блок"_cp);
  }

  std::size_t Description(std::size_t i) {
    DescriptionConditions(i);
    const std::size_t end = BlockEnd(i + 1);
    std::vector<std::size_t> shown;
    for (std::size_t k = i + 1; k < end; ++k) {
      if (IsBlockHead(lines_[k])) MissingBlankLine(k, i);
      shown.push_back(k);
    }
    StoryLines(shown, false);
    return end;
  }

  void DescriptionConditions(std::size_t i) {
    const std::string& line = lines_[i];
    std::string number;
    bool negative = false;
    auto close = [&] {
      if (number.empty()) return;
      try {
        const long n = ConditionNumber(number);
        if (!Conditions::InRange(n))
          Error(i, "condition-range", ConditionRangeText(n));
        else
          facts_.tested.push_back({n, At(i), !negative});
      } catch (const ScriptError&) {
        Error(
            i, "bad-condition",
            "в условиях описания не число: "_cp + Quote(number) + "; игра закончится с ошибкой"_cp);
      }
      number.clear();
      negative = false;
    };
    for (std::size_t k = 3; k < line.size(); ++k) {
      if (line[k] == ' ')
        close();
      else if (line[k] == '-')
        negative = true;
      else
        number += line[k];
    }
    close();
  }

  std::size_t Command(std::size_t i) {
    Pattern(i, 2);
    const std::size_t end = BlockEnd(i + 1);
    // The entry's conditions: its head runs to the first special line, and only when that line
    // is a conditions line does it count.
    std::size_t head = i;
    while (head + 1 < end && !IsBlockInstruction(lines_[head])) ++head;
    const bool hasConditions = StartsWith(lines_[head], words::kConditions);
    if (hasConditions) ConditionList(head, false);
    Reply(i, i + 1, end, hasConditions ? head : kNoLine, false);
    return end;
  }

  // The lines a chosen command or answer runs: [from, end). `conditions` is the conditions line
  // the block's head has read (not ignored here).
  void Reply(std::size_t blockStart, std::size_t from, std::size_t end, std::size_t conditions,
             bool dialogue) {
    std::vector<std::size_t> shown;
    for (std::size_t k = from; k < end; ++k) {
      const std::string& line = lines_[k];
      if (IsBlockHead(line)) {
        MissingBlankLine(k, blockStart);
      } else if (StartsWith(line, words::kSetConditions)) {
        ConditionList(k, true);
        continue;
      } else if (StartsWith(line, words::kConditions)) {
        if (k != conditions && !dialogue)
          Warning(k, "ignored-conditions",
                  "эта строка Л не проверяется: условия команды читает только первая особая "
                  "строка после шаблона (ставьте Л раньше строк Д, СС, СТ)"_cp);
        continue;
      } else if (StartsWith(line, words::kGoodPoint) || StartsWith(line, words::kEvilPoint)) {
        if (!OnlyBlanks(std::string_view(line).substr(2)))
          Warning(k, "marker-text",
                  "строка начинается с "_cp + line.substr(0, 2) +
                      ": она прибавит очко и не будет показана"_cp);
        continue;
      } else if (StartsWith(line, words::kAnswer) || StartsWith(line, words::kDialogueEnd)) {
        if (!dialogue)
          Warning(k, "marker-text",
                  "строка "_cp + Quote(line) + " в ответе команды не будет показана"_cp);
        continue;
      } else if (StartsWith(line, words::kGoTo)) {
        GoTo(k);
        bool warned = false;
        for (std::size_t after = k + 1; after < end; ++after) {
          if (IsBlockHead(lines_[after])) {
            MissingBlankLine(after, blockStart);
          } else if (!warned) {
            Warning(after, "after-goto",
                    "строки после ИД в строке "_cp + LineRef(k) + " не выполняются"_cp);
            warned = true;
          }
        }
        break;
      }
      shown.push_back(k);
    }
    StoryLines(shown, true);
    if (!shown.empty() && shown.back() + 1 == lines_.size())
      Warning(shown.back(), "no-final-blank-line",
              "файл кончается этой строкой ответа, без пустой строки после нее: у нее пропадет "
              "перенос строки"_cp);
  }

  void GoTo(std::size_t k) {
    const std::string target = Mid(lines_[k], 4);
    const std::size_t first = target.find_first_not_of(' ');
    const std::size_t last = target.find_last_not_of(' ');
    bool digits = first != std::string::npos && last - first < 6;
    for (std::size_t c = first; digits && c <= last; ++c) digits = IsDigit(target[c]);
    if (!digits) {
      Error(k, "bad-goto",
            "после ИД нужен номер локации: "_cp + Quote(lines_[k]) +
                " переведет игрока в локацию "_cp + std::to_string(IntVal(target)));
      return;
    }
    const long room = std::stol(target.substr(first, last - first + 1));
    facts_.moves.push_back({room, At(k)});
    const std::string name = RoomFileName(Variant(static_cast<double>(room)));
    if (!folder_.Has(name))
      Error(k, "missing-room",
            "ИД "_cp + std::to_string(room) + ": в игре нет файла "_cp + name +
                ", игра закончится с ошибкой при переходе"_cp);
  }

  std::size_t Dialogue(std::size_t i) {
    Pattern(i, 0);
    // The block runs to a line that is exactly "КДИАЛ"; a new block head after an empty line
    // before it means the author forgot it.
    std::size_t end = i + 1;
    bool afterShort = false;
    for (; end < lines_.size(); ++end) {
      const std::string& line = lines_[end];
      if (line == words::kDialogueEnd) break;
      if (StartsWith(line, words::kDialogueEnd))
        Error(end, "dialogue-end",
              "строка КДИАЛ должна быть ровно такой, без других символов и пробелов: эта "
              "диалог не закроет"_cp);
      if (afterShort && (StartsWith(line, words::kDialogue) || StartsWith(line, words::kCommand) ||
                         StartsWith(line, words::kDescription)))
        break;
      afterShort = IsShort(line);
    }
    if (end >= lines_.size() || lines_[end] != words::kDialogueEnd) {
      Error(i, "dialogue-unclosed",
            end >= lines_.size()
                ? "диалог не закрыт строкой КДИАЛ до конца файла: когда он подойдет к команде, "
                  "игра закончится с ошибкой"_cp
                : "диалог не закрыт строкой КДИАЛ до следующего блока в строке "_cp + LineRef(end) +
                      ": тот станет частью диалога"_cp);
    }
    DialogueBody(i, end);
    return end < lines_.size() && lines_[end] == words::kDialogueEnd ? end + 1 : end;
  }

  void DialogueBody(std::size_t i, std::size_t end) {
    for (std::size_t k = i + 1; k < end; ++k)
      if (lines_[k] == words::kAnswer.substr(0, 2) ||
          (StartsWith(lines_[k], words::kAnswer.substr(0, 2)) && IsDigit(lines_[k][2])))
        Warning(k, "answer-needs-blank",
                "после ДИ нужен пробел: без него строка не начинает вариант ответа"_cp);
    std::size_t k = i + 1;
    std::set<long> required, forbidden;  // by the block's conditions
    for (; k < end && !StartsWith(lines_[k], words::kAnswer); ++k) {
      if (StartsWith(lines_[k], words::kConditions))
        ConditionList(k, false, &required, &forbidden);
      else if (!IsShort(lines_[k]))
        Warning(k, "ignored-text", "строка между заголовком диалога и первым ДИ не читается"_cp);
    }
    int answers = 0, unconditional = 0;
    while (k < end) {
      const std::size_t option = k++;
      while (k < end && !StartsWith(lines_[k], words::kAnswer)) ++k;
      bool conditional = false;
      if (Option(option, k, required, forbidden, conditional)) {
        ++answers;
        if (!conditional) ++unconditional;
      }
    }
    if (unconditional > kMaxAnswers)
      Error(i, "too-many-answers",
            "диалог предлагает сразу "_cp + std::to_string(unconditional) +
                " ответов, а кнопок только 12: игра закончится с ошибкой"_cp);
    else if (answers > kMaxAnswers)
      Warning(i, "too-many-answers",
              "в диалоге "_cp + std::to_string(answers) +
                  " ответов: если больше 12 подойдут сразу, игра закончится с ошибкой"_cp);
  }

  // The option from its "ДИ " line to the next one (or the block's end); true when it has an
  // answer to offer.
  bool Option(std::size_t option, std::size_t next, std::set<long> required,
              std::set<long> forbidden, bool& conditional) {
    std::size_t answer = kNoLine;
    for (std::size_t k = option + 1; k < next && answer == kNoLine; ++k) {
      const std::string& line = lines_[k];
      if (StartsWith(line, words::kConditions)) {
        conditional = true;
        ConditionList(k, false, &required, &forbidden);
      } else if (!line.empty() && !IsBlockInstruction(line)) {
        answer = k;
      }
    }
    if (answer == kNoLine) {
      Warning(option, "answer-without-text",
              "у варианта нет надписи для кнопки (первой строки текста): он не будет "
              "предложен"_cp);
      return false;
    }
    for (long n : required)
      if (forbidden.count(n)) {
        Warning(option, "unreachable-answer",
                "вариант требует, чтобы условие "_cp + std::to_string(n) +
                    " было и истинным, и ложным: он не будет предложен"_cp);
        break;
      }
    // What choosing it runs: from the line after "ДИ " to the first short line. Looked for no
    // further than the next option, so that a block of options with no empty lines between
    // them is read once, not once per option.
    std::size_t stop = option + 1;
    while (stop < next && !IsShort(lines_[stop])) ++stop;
    if (stop == next && next < lines_.size() && StartsWith(lines_[next], words::kAnswer))
      Error(next, "option-runs-on",
            "перед этой строкой ДИ нет пустой строки: выбор предыдущего варианта выполнит и "
            "этот"_cp);
    Reply(option, option + 1, std::min(stop, next), kNoLine, true);
    for (std::size_t k = stop; k < next; ++k)
      if (!IsShort(lines_[k]) && !StartsWith(lines_[k], words::kDialogueEnd)) {
        Error(k, "blank-in-reply",
              "пустая строка "_cp + LineRef(stop) +
                  " кончает ответ: эта строка и следующие до ДИ не выполнятся"_cp);
        break;
      }
    return true;
  }

  std::size_t FreeLines(std::size_t i) {
    const std::size_t end = BlockEnd(i);
    for (std::size_t k = i; k < end; ++k) {
      const std::string& line = lines_[k];
      if (IsFreeLine(line)) continue;
      // Descriptions and dialogues are found wherever they stand; a command only after an
      // empty line.
      if (StartsWith(line, words::kCommand)) {
        MissingBlankLine(k, i);
        return BlockEnd(k);
      }
      if (StartsWith(line, words::kDescription) || StartsWith(line, words::kDialogue)) return k;
      return IgnoredLines(k, kNoLine);
    }
    return end;
  }

  std::size_t IgnoredLines(std::size_t i, std::size_t reply) {
    const std::size_t end = BlockEnd(i);
    const std::string& line = lines_[i];
    if (line.find('=') != std::string::npos && line.find(" = ") == std::string::npos)
      Warning(i, "synonym-blanks",
              "если это строка синонимов, вокруг «=» нужны пробелы: «СЛОВО = СИНОНИМ»"_cp);
    else if (reply != kNoLine)
      Error(i, "blank-in-reply",
            "пустая строка перед этой кончила ответ команды из строки "_cp + LineRef(reply) +
                ": эта строка и следующие до пустой не будут показаны"_cp);
    else
      Warning(i, "ignored-text",
              "строка не начинает блок (ОП, Т, ДИАЛ) и не будет прочитана: перед ней "
              "пустая строка"_cp);
    for (std::size_t k = i + 1; k < end; ++k)
      if (StartsWith(lines_[k], words::kCommand)) MissingBlankLine(k, i);
    return end;
  }

  // ---- patterns and condition lists ------------------------------------------------------

  void Pattern(std::size_t i, std::size_t from) {
    std::string pattern = lines_[i];
    if (pattern.empty() || pattern.back() != ' ') pattern += ' ';
    int count = 0;
    for (std::size_t start = from, k = from; k < pattern.size(); ++k) {
      if (pattern[k] != ' ') continue;
      const std::string word = pattern.substr(start, k - start);
      start = k + 1;
      ++count;
      if (word.empty()) {
        Error(i, "empty-pattern-word",
              "в шаблоне пустое слово (два пробела подряд): когда до него дойдет проверка, "
              "игра закончится с ошибкой"_cp);
        return;
      }
      try {
        const std::string core = CutLikePatternWord(word, word);
        if (word == core && IsShortWord(core))
          Warning(i, "one-letter-word",
                  "однобуквенное слово "_cp + Quote(word) +
                      " найдется и в командах, где это предлог или союз («поговорить с…», "
                      "«войти в…»)"_cp);
      } catch (const ScriptError&) {
        Error(i, "pattern-word-too-short",
              "в слове шаблона "_cp + Quote(word) + " нечего искать: игра закончится с ошибкой"_cp);
        return;
      }
      facts_.patternWords.push_back({word, At(i)});
    }
    if (count == 0)
      Warning(i, "empty-pattern", "у команды нет шаблона: она никогда не сработает"_cp);
  }

  // A conditions ("Л ") or settings ("Д ") line of a block, with the blank the player appends.
  void ConditionList(std::size_t i, bool setting, std::set<long>* required = nullptr,
                     std::set<long>* forbidden = nullptr) {
    const std::string line = lines_[i] + " ";
    if (line.find_first_not_of("0123456789- ", 2) != std::string::npos) {
      Warning(i, "marker-text",
              "строка начинается с "_cp + line.substr(0, 1) +
                  (setting ? " и будет прочитана как установка условий, а не показана"_cp
                           : " и будет прочитана как условия, а не показана"_cp));
      return;
    }
    ForEachListedCondition(line, 2, false, false, [&](std::string_view digits, bool value) {
      long n = 0;
      try {
        n = ConditionNumber(digits);
      } catch (const ScriptError&) {
        Error(i, "bad-condition", "номер условия "_cp + Quote(digits) + " слишком длинный"_cp);
        return;
      }
      if (!Conditions::InRange(n)) {
        Error(i, "condition-range", ConditionRangeText(n));
        return;
      }
      (setting ? facts_.set : facts_.tested).push_back({n, At(i), value});
      if (required && forbidden) (value ? *required : *forbidden).insert(n);
    });
  }

  static std::string ConditionRangeText(long n) {
    return "условие "_cp + std::to_string(n) +
           " вне допустимых номеров от -1 до 10000: игра закончится с ошибкой"_cp;
  }

  // ---- text the writer shows -------------------------------------------------------------

  // Replays what the writer leaves in the story for these lines, and reports every directive
  // line whose cut reaches into the text before it. A reply's lines each get a blank at their
  // end and stand after a line break; a description's lines are followed by one.
  void StoryLines(const std::vector<std::size_t>& shown, bool reply) {
    std::string story = reply ? "\r\n> ...\r\n" : "\r\n";
    const std::size_t outside = story.size();  // what stands before the block
    std::size_t lastText = kNoLine;
    for (std::size_t k : shown) {
      std::string line = lines_[k];
      if (reply && !line.empty() && line.back() != ' ') line += ' ';
      const std::size_t before = story.size();
      story += reply ? "\r\n" + line : line + "\r\n";
      const std::optional<DirectiveLine> directive = StoryLineDirective(line);
      if (!directive) {
        if (!IsShort(lines_[k])) lastText = k;
        continue;
      }
      Directive(k, line, directive->kind);
      const std::size_t remove = line.size() + static_cast<std::size_t>(directive->cut);
      const std::size_t kept = story.size() > remove ? story.size() - remove : 0;
      if (kept < before && lastText != kNoLine && before > outside) {
        const std::string lost = story.substr(kept, before - kept);
        const bool letters = lost.find_first_not_of(" \r\n") != std::string::npos;
        const bool lineBreak = lost.find('\n') != std::string::npos;
        const std::size_t lineStart = kept == 0 ? 0 : story.rfind('\n', kept - 1) + 1;
        const std::string shownAs = story.substr(lineStart, kept - lineStart);
        if (letters)
          Warning(k, "directive-cuts-text",
                  "строка "_cp + Quote(lines_[k]) + " срежет конец строки "_cp + LineRef(lastText) +
                      ": игрок увидит "_cp + Quote(shownAs) +
                      ". Кончайте строку перед ней пробелами или ставьте ее первой"_cp);
        else if (lineBreak)
          Warning(k, "directive-joins-lines",
                  "строка "_cp + Quote(lines_[k]) + " уберет перенос после строки "_cp +
                      LineRef(lastText) +
                      ": следующий текст продолжит ее. Ставьте такую строку первой в блоке"_cp);
      }
      story.resize(kept);
      if (directive->kind == StoryDirective::EmptyLine) story += "\r\n";
    }
  }

  void Directive(std::size_t k, const std::string& line, StoryDirective kind) {
    switch (kind) {
      case StoryDirective::Picture: {
        if (line.size() < 5 || !IsDigit(line[4])) {
          Error(k, "picture-mode", "после КАР нужна цифра режима от 0 до 3 и имя файла"_cp);
          return;
        }
        if (line[4] > '3') Warning(k, "picture-mode", "режим картинки бывает от 0 до 3"_cp);
        MediaFile(k, Mid(line, 7));
        return;
      }
      case StoryDirective::Sound:
        MediaFile(k, Mid(line, 5));
        return;
      case StoryDirective::Music:
        if (!OnlyBlanks(Mid(line, 5))) MediaFile(k, Mid(line, 5));
        return;
      case StoryDirective::Scheme:
        try {
          const int scheme = TextToInt16(Mid(line, 7));
          if (scheme < 1 || scheme > 12)
            Error(k, "color-scheme", "цветовая гамма бывает от 1 до 12"_cp);
        } catch (const ScriptError&) {
          Error(k, "color-scheme",
                "после ГАММА нужен номер гаммы от 1 до 12: игра закончится с ошибкой"_cp);
        }
        return;
      case StoryDirective::Random:
        Random(k, line);
        return;
      default:
        return;
    }
  }

  void MediaFile(std::size_t k, const std::string& name) {
    if (OnlyBlanks(name)) {
      Error(k, "missing-file", "в строке не указано имя файла"_cp);
      return;
    }
    if (!folder_.Has(name)) Error(k, "missing-file", "в папке игры нет файла "_cp + Quote(name));
  }

  void Random(std::size_t k, const std::string& line) {
    const std::size_t blank = line.find(' ', 4);
    try {
      if (blank == std::string::npos) throw ScriptError("no chance");
      const long n = TextToInt16(line.substr(4, blank - 4));
      const int chance = TextToInt16(line.substr(blank + 1));
      if (!Conditions::InRange(n)) {
        Error(k, "condition-range", ConditionRangeText(n));
        return;
      }
      facts_.set.push_back({n, At(k)});
      if (chance <= 0 || chance > 100)
        Warning(k, "random-chance",
                "вероятность "_cp + std::to_string(chance) +
                    (chance <= 0 ? ": условие никогда не станет истинным"_cp
                                 : ": условие станет истинным всегда"_cp));
    } catch (const ScriptError&) {
      Error(k, "bad-random",
            "строка начинается с ВЕР и будет выполнена, но ее нельзя прочитать (нужно «ВЕР "
            "условие вероятность»): игра закончится с ошибкой"_cp);
    }
  }

  static constexpr std::size_t kSynonymBytes = std::size_t{16} << 20;

  const SourceFile& f_;
  const std::vector<std::string>& lines_;
  std::size_t synonymBytes_ = 0;
  bool tableFull_ = false;
  long room_;
  const GameFolder& folder_;
  Findings& out_;
  LocationFacts facts_;
};

}  // namespace

LocationFacts CheckLocationFile(const SourceFile& file, long room, const GameFolder& folder,
                                Findings& findings) {
  return LocationChecker(file, room, folder, findings).Run();
}

void CheckShownText(const SourceFile& file, const GameFolder& folder, Findings& findings) {
  LocationChecker(file, -1, folder, findings).ShownText();
}

}  // namespace mireval::check
