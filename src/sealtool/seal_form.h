// The seal tool's window as plain data and its event handlers, free of any toolkit: the desktop
// window only forwards clicks here and draws what the form holds.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sealtool/seal_files.h"

namespace mireval::seal {

// What the handlers need from outside. All texts are Windows-1251.
class SealPort {
 public:
  virtual ~SealPort() = default;
  // Modal message with an OK button; returns when it is dismissed.
  virtual void MessageBox(const std::string& text) = 0;
  // Modal question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  virtual void Beep() = 0;
  // Asks the program to end with this exit status once the current handler returns. Unlike the
  // player's port this returns, so the window can unwind normally; handlers return right after.
  virtual void EndProgram(int status) = 0;
};

struct SealForm {
  // The folder shown by the folder list; the file list follows it.
  std::filesystem::path folder;
  // The file list: names as stored on disk.
  std::vector<std::string> files;
  // The "Усиленное шифрование." check box: checked = strong mode.
  bool strongChecked = false;
  // Set just before the program changes strongChecked itself, so that the click this raises does
  // not ask the user again.
  bool ignoreNextStrongClick = false;
  // What the runs so far did, a line per file and one per folder run, oldest first (Windows-1251).
  std::vector<std::string> outcome;

  CipherKind Mode() const { return strongChecked ? CipherKind::Strong : CipherKind::Ordinary; }
};

// Texts of the window and its messages, Windows-1251.
std::string SealCaptionText();
std::string SealDescriptionText();
std::string StrongCheckText();
std::string EncryptFolderText();
std::string DecryptFolderText();
std::string AlreadyEncryptedText();
std::string EncryptedOkText();
std::string FolderDoneText();
std::string StrongQuestionText();
// A single file the player never reads scrambled was not scrambled.
std::string NotScrambledByThePlayerText();
// The message for a file that failed, naming the file and what went wrong.
std::string FailureText(const SealResult& r);
// For a LostCharacter failure: which character of which line, by its code, as a Windows-1251
// text cannot hold the character itself.
std::string LostCharacterText(const SealResult& r);
// One line of the outcome list for a file: what was done to it, by its name.
std::string OutcomeLine(const SealResult& r);
// The closing line of a folder run: how many files were changed, left alone and failed.
std::string SummaryLine(const std::vector<SealResult>& results);

// Exit status after a folder operation: 0, or 1 when some file failed.
constexpr int kSealExitOk = 0;
constexpr int kSealExitFailed = 1;

// Opens on `folder`: the file list shows its matching files, ordinary mode.
void StartSealTool(SealForm& f, const std::filesystem::path& folder);

// The drive list and the folder list moved: the file list follows the folder.
void OnDriveChanged(SealForm& f, const std::filesystem::path& drive);
void OnFolderChanged(SealForm& f, const std::filesystem::path& folder);
// Reads the file list of the current folder again.
void RefreshFileList(SealForm& f);

// A file of the list was clicked: scrambles it in the current mode unless it already is
// scrambled or is no file the player reads scrambled, tells the user, beeps.
void OnFileChosen(SealForm& f, SealPort& port, std::string_view name);

// "Зашифровать директорию": scrambles every listed file that is not scrambled yet, reports each
// file that failed, says "Ok" and ends the program.
void OnEncryptFolderClicked(SealForm& f, SealPort& port);

// "Расшифровать директорию": turns every ordinarily scrambled listed file back into text, reports
// each file that failed, says "Ok" and ends the program.
void OnDecryptFolderClicked(SealForm& f, SealPort& port);

// The click notification of the check box; strongChecked already holds the new value. Every user
// click asks for confirmation and the answer decides the box: Yes checked, No unchecked.
void OnStrongCheckClicked(SealForm& f, SealPort& port);
// The user clicks the check box: the value flips, then the click notification runs.
void ClickStrongCheck(SealForm& f, SealPort& port);
// The program sets the check box. Like a real check box this raises the click notification only
// when the value changes, and ignoreNextStrongClick swallows exactly that notification.
void SetStrongCheck(SealForm& f, SealPort& port, bool checked);

// Sub-folders of a folder, sorted by name.
std::vector<std::string> SubFolderNames(const std::filesystem::path& folder);

}  // namespace mireval::seal
