// The window as a screen reader and a small or large screen meet it: names and roles of every
// widget, the story's new text announced, and every widget inside the window and clear of the
// others at the sizes people use.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/browser.h"
#include "base/text.h"
#include "qt_fixture.h"
#include "view/media.h"
#include "view/word_columns.h"

namespace mireval {
namespace {

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Every accessible object of the window's own below `root`, depth first. The menus (closed
// until opened) and the scroll areas' own parts are Qt's and shown as every program shows them.
void Walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit) {
  if (!root) return;
  const QAccessible::Role role = root->role();
  if (role == QAccessible::MenuBar || role == QAccessible::PopupMenu) return;
  if (root->object() && root->object()->objectName().startsWith("qt_scrollarea")) return;
  visit(root);
  for (int i = 0; i < root->childCount(); ++i) Walk(root->child(i), visit);
}

QAccessibleInterface* Accessible(QWidget* w) {
  return QAccessible::queryAccessibleInterface(w);
}

// A scene with everything the window can show at once: a dialogue, the word columns, and the
// picture pic.png, which the test has put into the game folder.
void ShowEverything(Player& p, MainWindow& window) {
  p.story.SetText(FromUtf8("Вы стоите на развилке.\r\n"));
  p.statusLabels[4].caption = "Старая мельница"_cp;
  p.statusLabels[0].caption =
      " Развилка у мельницы, где дорога уходит на север, к старой мельнице"_cp;
  p.statusLabels[2].caption = "Характер: добро 0, зло 0 (добрый)."_cp;
  p.statusLabels[1].caption = "Ходы: 18, очки: 2."_cp;
  p.wordColumns[0].items = {"взять"_cp, "осмотреть"_cp};
  p.wordColumns[1].items = {"ключ"_cp};
  ArrangeLayout(p);
  const char* answers[] = {"<Закончить диалог>", "Здравствуйте, бабушка! Не подскажете ли дорогу?",
                           "До свидания."};
  for (int i = 0; i < 3; ++i) {
    Button& b = p.answers[static_cast<std::size_t>(i)];
    b.visible = true;
    b.caption = FromUtf8(answers[i]);
    b.top = i == 0 ? 500 : 340 + 50 * i;
  }
  window.Run([&] { ShowPictureLine(p, "КАР 2 pic.png"_cp); });
  window.Sync();
}

TEST_F(WindowTest, EveryWidgetHasANameAndHiddenOnesAreNotExposed) {
  Open();
  window->Sync();
  QAccessibleInterface* root = Accessible(window.get());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->role(), QAccessible::Window);
  EXPECT_EQ(root->text(QAccessible::Name), U("Миревал"));
  // Before a dialogue: no answer is there to be found.
  Walk(root, [&](QAccessibleInterface* a) {
    EXPECT_FALSE(a->state().invisible)
        << a->text(QAccessible::Name).toStdString() << " role " << a->role() << " "
        << (a->object() ? a->object()->objectName().toStdString() : "");
    EXPECT_NE(a->role(), QAccessible::Button) << a->text(QAccessible::Name).toStdString();
  });

  Picture("pic.png", {300, 200}, Qt::darkGreen);
  ShowEverything(p, *window);
  auto* input = Accessible(Find<QLineEdit>("input"));
  EXPECT_EQ(input->role(), QAccessible::EditableText);
  EXPECT_EQ(input->text(QAccessible::Name), U("Команда"));
  EXPECT_EQ(Accessible(Find<QPlainTextEdit>("story"))->text(QAccessible::Name), U("Рассказ"));
  auto* place = Accessible(Find<QLabel>("status_location"));
  EXPECT_EQ(place->text(QAccessible::Description), U("Место"));
  EXPECT_EQ(place->text(QAccessible::Name),
            U("Место: Развилка у мельницы, где дорога уходит на север, к старой мельнице"));
  EXPECT_EQ(Accessible(Find<QLabel>("status_character"))->text(QAccessible::Name),
            U("Характер: добро 0, зло 0 (добрый)."));
  EXPECT_EQ(Accessible(Find<QLabel>("status_moves"))->text(QAccessible::Description),
            U("Ходы и очки"));
  EXPECT_EQ(Accessible(Find<QLabel>("status_title"))->text(QAccessible::Name),
            U("Игра: Старая мельница"));
  auto* answer = Accessible(Find<QPushButton>("answer_1"));
  EXPECT_EQ(answer->role(), QAccessible::Button);
  EXPECT_EQ(answer->text(QAccessible::Name),
            U("1. Здравствуйте, бабушка! Не подскажете ли дорогу?"));
  auto* words = Accessible(Find<QListWidget>("words_1"));
  EXPECT_EQ(words->text(QAccessible::Name), U("Слова 2"));
  EXPECT_EQ(Accessible(Find<QLabel>("picture"))->text(QAccessible::Name), U("Картинка: pic.png"));
  EXPECT_EQ(Accessible(Find<QPushButton>("picture_close"))->text(QAccessible::Name),
            U("Закрыть картинку"));
  // Nothing a reader can reach is nameless, and nothing hidden is there.
  Walk(root, [&](QAccessibleInterface* a) {
    EXPECT_FALSE(a->state().invisible)
        << (a->object() ? a->object()->objectName().toStdString() : "");
    const QAccessible::Role role = a->role();
    if (role == QAccessible::Button || role == QAccessible::EditableText ||
        role == QAccessible::List || role == QAccessible::StaticText ||
        role == QAccessible::Graphic) {
      EXPECT_FALSE(a->text(QAccessible::Name).isEmpty())
          << (a->object() ? a->object()->objectName().toStdString() : "") << " role " << role;
    }
  });
}

// The parts a player sees, in the window's coordinates.
std::vector<std::pair<QString, QRect>> ShownParts(MainWindow& window) {
  std::vector<std::pair<QString, QRect>> parts;
  QStringList names = {"status_title", "status_location", "status_character", "status_moves",
                       "story",        "picture_pane",    "words_0",          "words_1",
                       "input",        "browser"};
  for (int i = 0; i < 13; ++i) names << QStringLiteral("answer_%1").arg(i);
  for (const QString& name : names) {
    auto* w = window.findChild<QWidget*>(name);
    if (w && w->isVisibleTo(&window))
      parts.emplace_back(name, QRect(w->mapTo(&window, QPoint(0, 0)), w->size()));
  }
  parts.emplace_back("menu", window.menuBar()->geometry());
  return parts;
}

void ExpectInsideAndApart(MainWindow& window, QSize size, const std::string& scene) {
  window.resize(size);
  QApplication::processEvents();
  QApplication::processEvents();
  SCOPED_TRACE(scene + " at " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
  EXPECT_EQ(window.size(), size);
  const auto parts = ShownParts(window);
  for (const auto& [name, r] : parts) {
    EXPECT_TRUE(window.rect().contains(r)) << name.toStdString();
    EXPECT_GE(r.height(), 10) << name.toStdString();
    EXPECT_GE(r.width(), 20) << name.toStdString();
  }
  for (std::size_t i = 0; i < parts.size(); ++i)
    for (std::size_t j = i + 1; j < parts.size(); ++j)
      EXPECT_FALSE(parts[i].second.intersects(parts[j].second))
          << parts[i].first.toStdString() << " and " << parts[j].first.toStdString();
}

// 800x600, a full HD screen, and 1920x1200 at a scale factor of 2 (960x600 of the window's own
// pixels). Run once more with QT_SCALE_FACTOR=2 by the build.
TEST_F(WindowTest, AtEveryCommonSizeEveryWidgetIsInsideTheWindowAndNothingOverlaps) {
  if (qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2) {
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), 2.0);
  } else {
    Open();
  }
  const QSize sizes[] = {{800, 600}, {1920, 1080}, {960, 600}};
  for (QSize size : sizes) ExpectInsideAndApart(*window, size, "the cover");
  Picture("pic.png", {300, 200}, Qt::darkGreen);
  ShowEverything(p, *window);
  for (QSize size : sizes)
    ExpectInsideAndApart(*window, size, "a dialogue with words and a picture");
  EXPECT_TRUE(Find<QWidget>("picture_pane")->isVisible());
  EXPECT_TRUE(Find<QWidget>("words_1")->isVisible());
  window->Run([&] { OpenGameDialog(p); });
  for (QSize size : sizes) ExpectInsideAndApart(*window, size, "the browser");
}

}  // namespace
}  // namespace mireval
