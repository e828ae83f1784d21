#include "view/colors.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

ColorPair Applied(const Variant& scheme, Rgb* buttons = nullptr) {
  TestPlayer t;
  t.p.ColorScheme = scheme;
  ApplyColorScheme(t.p);
  EXPECT_EQ(t.p.Label1[0].back, t.p.T.back);
  EXPECT_EQ(t.p.File1.fore, t.p.T.fore);
  EXPECT_EQ(t.p.Picture1.back, t.p.T.back);
  for (const Button& b : t.p.Command1) EXPECT_EQ(b.back, t.p.Command1[0].back);
  if (buttons) *buttons = t.p.Command1[5].back;
  return {t.p.T.back, t.p.T.fore};
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
  Rgb before = t.p.List1[0].back;
  t.p.ColorScheme = 9;
  ApplyColorScheme(t.p);
  EXPECT_EQ(t.p.List1[0].back, before);
}

}  // namespace
}  // namespace mireval
