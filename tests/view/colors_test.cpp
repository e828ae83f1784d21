#include "view/colors.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

ColorPair Applied(const Variant& scheme, Rgb* buttons = nullptr) {
  TestPlayer t;
  t.p.colorScheme = scheme;
  ApplyColorScheme(t.p);
  EXPECT_EQ(t.p.statusLabels[0].back, t.p.story.back);
  EXPECT_EQ(t.p.files.fore, t.p.story.fore);
  EXPECT_EQ(t.p.browserPanel.back, t.p.story.back);
  for (const Button& b : t.p.answers) EXPECT_EQ(b.back, t.p.answers[0].back);
  if (buttons) *buttons = t.p.answers[5].back;
  return {t.p.story.back, t.p.story.fore};
}

TEST(ColorScheme, MainFileTextSevenIsBlackOnLightGreyWithGreyButtons) {
  Rgb buttons;
  ColorPair c = Applied(Variant("7"), &buttons);
  EXPECT_EQ(c.back, (Rgb{224, 224, 224}));
  EXPECT_EQ(c.text, (Rgb{0, 0, 0}));
  EXPECT_EQ(buttons, (Rgb{224, 224, 224}));
}

TEST(ColorScheme, ButtonsTakeTheTextColourElsewhere) {
  Rgb buttons;
  Applied(Variant(5), &buttons);
  EXPECT_EQ(buttons, (Rgb{255, 192, 192}));
}

TEST(ColorScheme, BlackBackgroundIsAScheme) {
  ColorPair c = Applied(Variant(3));
  EXPECT_EQ(c.back, (Rgb{0, 0, 0}));
  EXPECT_EQ(c.text, (Rgb{224, 224, 224}));
}

TEST(ColorScheme, AnythingElseIsSchemeOne) {
  for (const Variant& v :
       {Variant(0), Variant(13), Variant("зелёная"), Variant(""), Variant(), Variant(7.5)}) {
    ColorPair c = Applied(v);
    EXPECT_EQ(c.back, (Rgb{0, 0, 128}));
    EXPECT_EQ(c.text, (Rgb{192, 192, 255}));
  }
}

TEST(ColorScheme, WordColumnsKeepTheirColours) {
  TestPlayer t;
  Rgb before = t.p.wordColumns[0].back;
  t.p.colorScheme = 9;
  ApplyColorScheme(t.p);
  EXPECT_EQ(t.p.wordColumns[0].back, before);
}

}  // namespace
}  // namespace mireval
