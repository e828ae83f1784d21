#include "presentation/media.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/text.h"
#include "presentation/output.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class MediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.p.Room = 4;
    WriteRaw(t.game() / "Лес.JPG", "picture");
    WriteRaw(t.game() / "wind.ogg", "sound");
    WriteRaw(t.game() / "theme.ogg", "music");
  }
  std::string In(const std::string& name) const { return (t.game() / name).string(); }

  TestPlayer t;
};

TEST_F(MediaTest, PictureModesChooseNaturalSizeOrStretching) {
  ShowKartinka(t.p, "КАР 2 лес.jpg"_cp);
  EXPECT_TRUE(t.p.Picture3.visible);
  EXPECT_EQ(t.p.Image3.file, In("Лес.JPG"));
  EXPECT_FALSE(t.p.Image3.stretch);
  EXPECT_EQ(t.p.Image3.width, 200 * kTwipsPerPixel);
  EXPECT_EQ(t.p.Image3.height, 100 * kTwipsPerPixel);

  t.p.Image3.width = 5000;
  ShowKartinka(t.p, "КАР 3_лес.jpg"_cp);  // any separator character
  EXPECT_TRUE(t.p.Image3.stretch);
  EXPECT_EQ(t.p.Image3.width, 5000);  // stretched to the size the image control has
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(MediaTest, LowModesSkipPicturesOfTheRegister) {
  t.p.Kartinki[700] = "лес.jpg"_cp;
  ShowKartinka(t.p, "КАР 1 лес.jpg"_cp);
  ShowKartinka(t.p, "КАР 0 лес.jpg"_cp);
  EXPECT_FALSE(t.p.Picture3.visible);
  ShowKartinka(t.p, "КАР 2 лес.jpg"_cp);
  EXPECT_TRUE(t.p.Picture3.visible);

  // An empty name matches the empty entries every register holds.
  t.p.Picture3.visible = false;
  ShowKartinka(t.p, "КАР 0"_cp);
  EXPECT_FALSE(t.p.Picture3.visible);
  EXPECT_TRUE(t.platform.messages.empty());
}

TEST_F(MediaTest, BadPictureLinesAreReportedAndShowNothing) {
  WriteRaw(t.game() / "empty.png", "");
  for (const char* line : {"КАР x лес.jpg", "КАР 2 нет.jpg", "КАР 2 empty.png", "КАР "}) {
    t.platform.messages.clear();
    ShowKartinka(t.p, FromUtf8(line));
    EXPECT_EQ(t.platform.messages,
              std::vector<std::string>{"Ошибка в строке " + std::string(line) + " локации 4"});
  }
  EXPECT_FALSE(t.p.Picture3.visible);
  ShowKartinka(t.p, "ЗВУ 2 лес.jpg"_cp);  // not a picture line at all
  EXPECT_FALSE(t.p.Picture3.visible);
  EXPECT_EQ(t.platform.messages.size(), 1u);
}

TEST_F(MediaTest, ThePictureLineIsCutFromTheStoryAndTheCloseButtonHidesThePanel) {
  t.p.T.SetText("до\r\nКАР 2 лес.jpg\r\n"_cp);
  WhP(t.p, "КАР 2 лес.jpg"_cp);
  EXPECT_EQ(t.Story(), "до\r");  // the writer cuts the line with three characters around it
  EXPECT_TRUE(t.p.Picture3.visible);
  t.p.focus = Focus::Text2;
  Command3_Click(t.p);
  EXPECT_FALSE(t.p.Picture3.visible);
  EXPECT_EQ(t.p.focus, Focus::Story);
}

TEST_F(MediaTest, MusicAndSoundStartFromTheBeginningOnTheirOwnPlayers) {
  PlayMuzyka(t.p, "МУЗ theme.ogg"_cp);
  EXPECT_EQ(t.p.MusicFile, "theme.ogg");
  EXPECT_EQ(t.platform.music.calls,
            (std::vector<std::string>{"Release", "Render " + In("theme.ogg"), "SetPosition",
                                      "SetVolume -100", "SetBalance 0", "Run"}));
  EXPECT_TRUE(t.platform.music.running);

  PlayZvuk(t.p, "ЗВУ wind.ogg"_cp);
  EXPECT_EQ(t.platform.sound.volume, -60);
  EXPECT_EQ(t.platform.sound.rendered, In("wind.ogg"));
  EXPECT_TRUE(t.platform.music.running);  // the music goes on under the sound

  // A sound still playing is cut off by the next; the same music again restarts it.
  t.platform.sound.position = 1.5;
  PlayZvuk(t.p, "ЗВУ wind.ogg"_cp);
  EXPECT_EQ(t.platform.sound.position, 0);
  t.platform.music.position = 30;
  PlayMuzyka(t.p, "МУЗ theme.ogg"_cp);
  EXPECT_EQ(t.platform.music.position, 0);

  std::string name = "theme.ogg";
  StartMusic(t.p, name);
  EXPECT_EQ(name, t.p.GameDir + "\\theme.ogg");
}

TEST_F(MediaTest, MusicCountsAsEndedAtItsStartOrItsEnd) {
  FakeMediaPlayer& music = t.platform.music;
  EXPECT_TRUE(MusicEnded(t.p));  // nothing rendered
  PlayMuzyka(t.p, "МУЗ theme.ogg"_cp);
  music.duration = 60;
  EXPECT_TRUE(MusicEnded(t.p));
  music.position = 10;
  EXPECT_FALSE(MusicEnded(t.p));
  music.position = 60;
  EXPECT_TRUE(MusicEnded(t.p));
  music.position = 61;
  EXPECT_TRUE(MusicEnded(t.p));
}

TEST_F(MediaTest, TheTimerRestartsEndedMusicOnly) {
  FakeMediaPlayer& music = t.platform.music;
  Timer1_Timer(t.p);
  EXPECT_TRUE(music.calls.empty());  // no music was ever started

  PlayMuzyka(t.p, "МУЗ theme.ogg"_cp);
  music.duration = 60;
  music.position = 20;
  music.calls.clear();
  Timer1_Timer(t.p);
  EXPECT_TRUE(music.calls.empty());

  music.position = 60;
  Timer1_Timer(t.p);
  EXPECT_EQ(music.calls.front(), "Release");
  EXPECT_EQ(music.position, 0);
  EXPECT_TRUE(music.running);
  EXPECT_EQ(music.rendered, In("theme.ogg"));
  EXPECT_EQ(t.p.MusicFile, "theme.ogg");
}

TEST_F(MediaTest, UnplayableMusicIsRetriedSilentlyAndEmptyMusicStops) {
  FakeMediaPlayer& music = t.platform.music;
  PlayMuzyka(t.p, "МУЗ нет.ogg"_cp);
  music.calls.clear();
  for (int i = 0; i < 3; ++i) Timer1_Timer(t.p);
  EXPECT_EQ(std::count(music.calls.begin(), music.calls.end(), "Release"), 3);
  EXPECT_TRUE(t.platform.messages.empty());

  PlayMuzyka(t.p, "МУЗ theme.ogg"_cp);
  PlayMuzyka(t.p, "МУЗ "_cp);
  EXPECT_FALSE(music.running);
  EXPECT_EQ(t.p.MusicFile, "");
  music.calls.clear();
  Timer1_Timer(t.p);
  EXPECT_TRUE(music.calls.empty());
}

}  // namespace
}  // namespace mireval
