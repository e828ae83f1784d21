#include "sealtool/seal_form.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "base/atomic_file.h"
#include "base/files.h"
#include "base/text.h"

namespace fs = std::filesystem;

namespace mireval::seal {

std::string SealCaptionText() {
  return "Mireval: шифрование локаций"_cp;
}
std::string SealDescriptionText() {
  return "Это утилита шифрования файлов локаций для текстовых квестов Mireval."_cp;
}
std::string StrongCheckText() {
  return "Усиленное шифрование."_cp;
}
std::string EncryptFolderText() {
  return "Зашифровать директорию"_cp;
}
std::string DecryptFolderText() {
  return "Расшифровать директорию"_cp;
}

std::string AlreadyEncryptedText() {
  return "Данный файл уже зашифрован с помощью этой программы!"_cp;
}
std::string EncryptedOkText() {
  return "Локация успешно зашифрована!"_cp;
}
std::string FolderDoneText() {
  return "Ok";
}
std::string StrongQuestionText() {
  return "Включить режим усиленного шифрования? В отличие от обычного расшифрования, вы (правда, "
         "как и никто другой) не сможет расшифровать."_cp;
}

std::string NotScrambledByThePlayerText() {
  return "Этот файл игрок не читает зашифрованным, поэтому он не зашифрован: шифруются только "
         "файлы локаций (room1.txt, room2.txt, ..., room0.txt) и списки invent.txt, zadan.txt, "
         "hints.txt. Файл оставлен без изменений."_cp;
}

std::string LostCharacterText(const SealResult& r) {
  char code[16];
  if (r.lost.character == kBrokenUtf8) {
    std::snprintf(code, sizeof code, "%02X",
                  static_cast<unsigned>(static_cast<unsigned char>(r.lostBytes.at(0))));
    return "в строке "_cp + std::to_string(r.line) + " байт "_cp + code +
           ", с которого не начинается ни один знак UTF-8"_cp;
  }
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(r.lost.character));
  return "в строке "_cp + std::to_string(r.line) + " знак "_cp + code +
         ", которого нет в кодировке Windows-1251"_cp;
}

std::string FailureText(const SealResult& r) {
  std::string what;
  std::string why;
  switch (r.problem) {
    case SealProblem::CannotRead:
      what = "Не удалось прочитать файл:"_cp;
      break;
    case SealProblem::Damaged:
      what = "Файл повреждён и не расшифрован:"_cp;
      break;
    case SealProblem::OutOfMemory:
      what = "Не хватило памяти для файла:"_cp;
      break;
    case SealProblem::LostCharacter:
      // Scrambled, the character would come out as "?" in the player.
      what = "Файл в UTF-8 не зашифрован: "_cp + LostCharacterText(r) + ":";
      why = "Замените этот знак и зашифруйте файл снова."_cp + "\r\n";
      break;
    case SealProblem::CannotWrite:
    case SealProblem::None:
      what = "Не удалось записать файл:"_cp;
      if (r.error) why = WriteFailureText(r.error) + "\r\n";
      break;
  }
  return what + "\r\n" + PathText(r.file) + "\r\n" + why + "Файл оставлен без изменений."_cp;
}

std::string OutcomeLine(const SealResult& r) {
  const std::string name = PathText(r.file.filename());
  switch (r.outcome) {
    case SealOutcome::Encrypted:
      return "Зашифрован: "_cp + name;
    case SealOutcome::AlreadyEncrypted:
      return "Пропущен, уже зашифрован: "_cp + name;
    case SealOutcome::Decrypted:
      return "Расшифрован: "_cp + name;
    case SealOutcome::NotDecrypted:
      return "Пропущен, не зашифрован обычным шифрованием: "_cp + name;
    case SealOutcome::Failed:
      break;
  }
  // The first line of the failure message says what went wrong.
  const std::string text = FailureText(r);
  return "Ошибка: "_cp + name + " — "_cp + text.substr(0, text.find("\r\n"));
}

std::string SummaryLine(const std::vector<SealResult>& results) {
  std::size_t changed = 0, left = 0, failed = 0;
  for (const SealResult& r : results) {
    if (r.outcome == SealOutcome::Encrypted || r.outcome == SealOutcome::Decrypted)
      ++changed;
    else if (r.outcome == SealOutcome::Failed)
      ++failed;
    else
      ++left;
  }
  return "Итог: изменено файлов "_cp + std::to_string(changed) + ", пропущено "_cp +
         std::to_string(left) + ", с ошибками "_cp + std::to_string(failed) + ".";
}

void RefreshFileList(SealForm& f) {
  f.files = SealFileNames(f.folder);
}

void StartSealTool(SealForm& f, const fs::path& folder) {
  f.strongChecked = false;
  f.ignoreNextStrongClick = false;
  OnFolderChanged(f, folder);
}

void OnDriveChanged(SealForm& f, const fs::path& drive) {
  OnFolderChanged(f, drive);
}

void OnFolderChanged(SealForm& f, const fs::path& folder) {
  // "/games/x/" and "/games/x/y/.." are the folder "/games/x": its parent must be "/games".
  fs::path normal = folder.lexically_normal();
  if (normal.has_relative_path() && !normal.has_filename()) normal = normal.parent_path();
  f.folder = normal;
  RefreshFileList(f);
}

void OnFileChosen(SealForm& f, SealPort& port, std::string_view name) {
  if (!IsScrambledByThePlayer(name)) {
    f.outcome.push_back("Пропущен, игрок не читает его зашифрованным: "_cp + std::string(name));
    port.MessageBox(NotScrambledByThePlayerText());
    port.Beep();
    return;
  }
  SealResult r = EncryptFile(f.folder / fs::path(std::string(name)), f.Mode());
  f.outcome.push_back(OutcomeLine(r));
  switch (r.outcome) {
    case SealOutcome::AlreadyEncrypted:
      port.MessageBox(AlreadyEncryptedText());
      break;
    case SealOutcome::Encrypted:
      port.MessageBox(EncryptedOkText());
      break;
    default:
      port.MessageBox(FailureText(r));
      break;
  }
  port.Beep();
}

namespace {
// The list is filled before the messages, so that it stands in the window while they are shown.
void FinishFolder(SealForm& f, SealPort& port, const std::vector<SealResult>& results) {
  for (const SealResult& r : results) f.outcome.push_back(OutcomeLine(r));
  f.outcome.push_back(SummaryLine(results));
  for (const SealResult& r : results)
    if (r.outcome == SealOutcome::Failed) port.MessageBox(FailureText(r));
  port.MessageBox(FolderDoneText());
  port.EndProgram(AnyFailed(results) ? kSealExitFailed : kSealExitOk);
}
}  // namespace

void OnEncryptFolderClicked(SealForm& f, SealPort& port) {
  FinishFolder(f, port, EncryptFiles(f.folder, f.files, f.Mode()));
}

void OnDecryptFolderClicked(SealForm& f, SealPort& port) {
  FinishFolder(f, port, DecryptFiles(f.folder, f.files));
}

void OnStrongCheckClicked(SealForm& f, SealPort& port) {
  if (f.ignoreNextStrongClick) {
    f.ignoreNextStrongClick = false;
    return;
  }
  SetStrongCheck(f, port, port.AskYesNo(StrongQuestionText()));
}

void ClickStrongCheck(SealForm& f, SealPort& port) {
  f.strongChecked = !f.strongChecked;
  OnStrongCheckClicked(f, port);
}

void SetStrongCheck(SealForm& f, SealPort& port, bool checked) {
  // Raising the flag when the value stays would leave it set, and the user's next click would
  // then switch modes without being asked.
  if (f.strongChecked == checked) return;
  f.ignoreNextStrongClick = true;
  f.strongChecked = checked;
  OnStrongCheckClicked(f, port);
}

std::vector<std::string> SubFolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (it->is_directory(typeEc)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace mireval::seal
