#include "frontends/qt/play/story_view.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <random>

#include "base/text.h"
#include "model/form.h"

namespace mireval {
namespace {

TEST(DisplayText, CrLfIsOneLineBreakAndALoneCrShowsNothing) {
  std::string s = "Первая\r\nвторая\rтретья\r\n"_cp;
  EXPECT_EQ(DisplayText(s).toStdString(),
            "Первая\nвторая"
            "третья\n");
  EXPECT_EQ(DisplayLength(s), DisplayText(s).size());
  // Every code of the code page is one character, the unassigned one included.
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(DisplayLength(all), DisplayText(all).size());
}

class StoryViewTest : public ::testing::Test {
 protected:
  std::string Shown() const { return edit.toPlainText().toStdString(); }
  std::string Expected() const { return DisplayText(t.text).toStdString(); }
  QPlainTextEdit edit;
  StoryView view{&edit};
  TextBox t;
};

TEST_F(StoryViewTest, GrowingTextIsAppendedAndReplacedTextRewritten) {
  t.SetText("Обложка\r\n"_cp);
  view.Sync(t);
  EXPECT_EQ(view.Rewrites(), 1);
  t.Append("> осмотреться\r\n"_cp);
  view.Sync(t);
  t.Append("Тёмная комната.\r\n"_cp);
  view.Sync(t);
  EXPECT_EQ(view.Rewrites(), 1);
  EXPECT_EQ(Shown(), "Обложка\n> осмотреться\nТёмная комната.\n");
  t.SetText("Новая локация"_cp);
  view.Sync(t);
  EXPECT_EQ(view.Rewrites(), 2);
  EXPECT_EQ(Shown(), "Новая локация");
}

TEST_F(StoryViewTest, CutsAtEitherEndAreAppliedInPlace) {
  t.SetText("abcdef\r\n");
  view.Sync(t);
  t.Append("< prompt >");
  view.Sync(t);
  t.KeepFirst(8);  // the pause prompt is taken back
  t.Append("gh\r\n");
  view.Sync(t);
  EXPECT_EQ(Shown(), "abcdef\ngh\n");
  t.Append("ij");
  t.DropFirst(3);  // an overlong story loses its front
  view.Sync(t);
  EXPECT_EQ(Shown(), "def\ngh\nij");
  EXPECT_EQ(view.Rewrites(), 1);
}

TEST_F(StoryViewTest, CaretGoesWhereTheEngineMovesIt) {
  edit.resize(200, 60);
  edit.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
  std::string many;
  for (int i = 0; i < 50; ++i) many += "line\r\n";
  t.SetText(many);
  view.Sync(t);
  EXPECT_EQ(edit.textCursor().position(), 0);  // a replaced text is read from its top
  EXPECT_EQ(edit.verticalScrollBar()->value(), 0);
  t.Append("end");
  t.caret = t.text.size();
  view.Sync(t);
  EXPECT_EQ(edit.textCursor().position(), DisplayLength(t.text));
  EXPECT_EQ(edit.verticalScrollBar()->value(), edit.verticalScrollBar()->maximum());
  t.caret = 1000000;  // never past the end
  view.Sync(t);
  EXPECT_EQ(edit.textCursor().position(), DisplayLength(t.text));
}

TEST_F(StoryViewTest, AnyMixOfChangesEndsWithTheSameText) {
  std::mt19937 rng(7);
  const std::string pieces[] = {"\r\n", "\r", "\n", "слово"_cp, " ", "x\r\ny", "\x98"};
  for (int step = 0; step < 400; ++step) {
    switch (rng() % 6) {
      case 0:
        t.SetText(pieces[rng() % 7]);
        break;
      case 1:
        t.KeepFirst(rng() % (t.text.size() + 1));
        break;
      case 2:
        t.DropFirst(rng() % (t.text.size() / 2 + 1));
        break;
      default:
        t.Append(pieces[rng() % 7]);
        break;
    }
    if (rng() % 3) t.caret = rng() % (t.text.size() + 2);
    if (rng() % 2 == 0) continue;  // several changes between two updates
    view.Sync(t);
    ASSERT_EQ(Shown(), Expected()) << "step " << step;
  }
}

}  // namespace
}  // namespace mireval
