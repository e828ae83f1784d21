// The game browser panel: drive, folder and file lists, caption and start button, drawn from the
// window model and laid out to fill the place of the story. A single click selects; a double
// click or Enter opens. Its choices go to the engine through the seams.
#pragma once

#include <QObject>
#include <filesystem>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace mireval {

class MainWindow;
struct Player;
struct Seams;

class BrowserView {
 public:
  BrowserView(QWidget* panel, Player& p, MainWindow& window, const Seams& seams);
  void Sync();
  // Gives the keyboard to the list a player chooses from first: the files when there are any.
  void TakeFocus();

 private:
  void FillDrives();
  void FillFolders();

  QWidget* panel_;
  Player& p_;
  QLabel* label2_;
  QComboBox* drive1_;
  QListWidget* dir1_;
  QListWidget* file1_;
  QPushButton* command2_;
  QPushButton* cancel_;
  std::filesystem::path foldersOf_;  // the folder the folder list was filled for
  bool foldersKnown_ = false;
  std::vector<std::string> files_;
  bool wasVisible_ = false;
};

}  // namespace mireval
