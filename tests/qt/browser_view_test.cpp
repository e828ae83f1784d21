// The game browser panel: drawn from the window model, its clicks routed to the engine, and a
// folder that cannot be read refused.
#include "frontends/qt/play/browser_view.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/browser.h"
#include "base/files.h"
#include "base/text.h"
#include "qt_fixture.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

class BrowserTest : public WindowTest {
 protected:
  BrowserTest() {
    fs::create_directories(games() / "alpha");
    fs::create_directories(games() / "Бета");
    fs::create_directories(games() / ".hidden");
    WriteRaw(games() / "notes.txt", "");
  }
  fs::path games() const { return root.path() / "games"; }
  void ShowPanel() {
    p.browserPanel.visible = true;
    p.browserCaption.caption = "Открытие новой игры."_cp;
    p.drives.items = {"/", PathText(root.path())};
    p.drives.drive = "/";
    p.folders.path = PathText(games());
    p.folders.folder = games();
    p.files.path = p.folders.path;
    p.files.items = {"main.txt"};
    p.startButton.visible = true;
    window->Sync();
  }
  QListWidgetItem* Row(const char* name) {
    auto* dir1 = Find<QListWidget>("folders");
    for (int i = 0; i < dir1->count(); ++i)
      if (dir1->item(i)->text().trimmed() == U(name)) return dir1->item(i);
    ADD_FAILURE() << "no folder row " << name;
    return nullptr;
  }
  void Activate(QListWidgetItem* item) {
    auto* dir1 = Find<QListWidget>("folders");
    QPoint at = dir1->visualItemRect(item).center();
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, at);
  }
};

TEST_F(BrowserTest, PanelShowsTheModelsListsCaptionAndStartButton) {
  Open();
  ShowPanel();
  ASSERT_TRUE(Find<QWidget>("browser")->isVisible());
  EXPECT_FALSE(Find<QWidget>("story")->isVisible());  // the browser takes the story's place
  EXPECT_EQ(Find<QLabel>("browserCaption")->text(), U("Открытие новой игры."));
  auto* command2 = Find<QPushButton>("startButton");
  EXPECT_TRUE(command2->isVisible());
  EXPECT_EQ(command2->text(), U("Начать игру"));
  // Start stands over the file list, the lists side by side.
  EXPECT_LT(command2->geometry().bottom(), Find<QWidget>("files")->geometry().top());
  EXPECT_LT(Find<QWidget>("folders")->geometry().right(),
            Find<QWidget>("files")->geometry().left());
  auto* file1 = Find<QListWidget>("files");
  ASSERT_EQ(file1->count(), 1);
  EXPECT_EQ(file1->item(0)->text(), U("main.txt"));
  auto* dir1 = Find<QListWidget>("folders");
  EXPECT_EQ(dir1->currentItem()->text().trimmed(), U("games"));
  EXPECT_TRUE(dir1->currentItem()->font().bold());
  EXPECT_NE(Row("alpha"), nullptr);
  EXPECT_NE(Row("Бета"), nullptr);
  for (int i = 0; i < dir1->count(); ++i) EXPECT_NE(dir1->item(i)->text().trimmed(), U(".hidden"));
  EXPECT_EQ(Find<QComboBox>("drives")->currentText(), U("/"));

  p.files.items.clear();
  p.startButton.visible = false;
  window->Sync();
  EXPECT_EQ(file1->count(), 0);
  EXPECT_FALSE(command2->isVisible());
}

TEST_F(BrowserTest, ChoosingAFolderMovesTheBrowserThere) {
  Open();
  ShowPanel();
  Activate(Row("Бета"));
  EXPECT_EQ(p.folders.path, PathText(games() / "Бета"));
  EXPECT_EQ(p.files.path, p.folders.path);
  EXPECT_EQ(Find<QListWidget>("folders")->currentItem()->text().trimmed(), U("Бета"));
  // Up again through the chain.
  Activate(Row("games"));
  EXPECT_EQ(p.folders.path, PathText(games()));
}

TEST_F(BrowserTest, AFolderThatCannotBeReadKeepsThePreviousOne) {
  Open();
  ShowPanel();
  QListWidgetItem* alpha = Row("alpha");
  fs::remove(games() / "alpha");
  Activate(alpha);
  EXPECT_EQ(p.folders.path, PathText(games()));

  // The same for a drive that is not there any more.
  auto* drive1 = Find<QComboBox>("drives");
  drive1->addItem("gone", QByteArray::fromStdString(PathText(root.path() / "no-drive")));
  drive1->setCurrentIndex(0);
  QTest::keyClick(drive1, Qt::Key_End);
  EXPECT_EQ(p.drives.drive, "/");
  EXPECT_EQ(p.folders.path, PathText(games()));
  EXPECT_EQ(drive1->currentText(), U("/"));
}

// The drive box offers the platform's places, the mounted volumes among them, and a place chosen
// there stays chosen.
TEST_F(BrowserTest, TheDriveBoxAndTheEngineShareOneListOfPlaces) {
  Open();
  OpenGameDialog(p);
  window->Sync();
  auto* drive1 = Find<QComboBox>("drives");
  const std::vector<std::string> places = platform.DriveRoots();
  EXPECT_EQ(p.drives.items, places);
  ASSERT_EQ(drive1->count(), static_cast<int>(places.size()));
  for (int i = 0; i < drive1->count(); ++i) {
    EXPECT_EQ(drive1->itemData(i).toByteArray().toStdString(), places[static_cast<std::size_t>(i)]);
    std::error_code ec;
    if (!fs::is_directory(ToUtf8(places[static_cast<std::size_t>(i)]), ec)) continue;
    drive1->setCurrentIndex(i == 0 ? 1 : 0);
    drive1->setCurrentIndex(i);
    emit drive1->activated(i);
    EXPECT_EQ(p.drives.drive, places[static_cast<std::size_t>(i)]);
  }
}

TEST_F(BrowserTest, ClicksReachTheEngineWithWhatWasChosen) {
  std::vector<std::string> calls;
  Seams seams;
  seams.answerClicked = [&](Player&, int i) { calls.push_back("answer " + std::to_string(i)); };
  seams.driveChosen = [&](Player&, const std::string& d) { calls.push_back("drive " + d); };
  seams.folderChosen = [&](Player&, const fs::path& f) { calls.push_back("folder " + f.string()); };
  seams.fileClicked = [&](Player&, int i) { calls.push_back("file " + std::to_string(i)); };
  seams.startClicked = [&](Player&) { calls.push_back("start"); };
  Open(seams);
  ShowPanel();
  p.files.items = {"a.sav", "b.sav"};
  window->Sync();

  // A single click only selects; a double click or Enter opens.
  auto* file1 = Find<QListWidget>("files");
  const QPoint second = file1->visualItemRect(file1->item(1)).center();
  QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, second);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(file1->currentRow(), 1);
  QTest::mouseDClick(file1->viewport(), Qt::LeftButton, {}, second);
  file1->setFocus();
  file1->setCurrentRow(0);
  QTest::keyClick(file1, Qt::Key_Return);
  Activate(Row("alpha"));
  QTest::mouseClick(Find<QPushButton>("startButton"), Qt::LeftButton);
  auto* drive1 = Find<QComboBox>("drives");
  drive1->setCurrentIndex(0);
  QTest::keyClick(drive1, Qt::Key_Down);
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0], "file 1");
  EXPECT_EQ(calls[1], "file 0");
  EXPECT_EQ(calls[2], "folder " + (games() / "alpha").string());
  EXPECT_EQ(calls[3], "start");
  EXPECT_EQ(calls[4], "drive " + drive1->itemData(1).toByteArray().toStdString());
}

}  // namespace
}  // namespace mireval
