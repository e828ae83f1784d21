#include "view/media.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "support/test_game.h"

namespace mireval {
namespace {

class MediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.UseGameDir();
    t.p.location = 4;
    WriteRaw(t.game() / "Лес.JPG", "picture");
    WriteRaw(t.game() / "theme.ogg", "music");
  }
  std::string In(const std::string& name) const { return (t.game() / name).string(); }
  int Count(const FakeMediaPlayer& m, const std::string& call) {
    return static_cast<int>(std::count(m.calls.begin(), m.calls.end(), call));
  }

  TestPlayer t;
};

TEST_F(MediaTest, PictureModesAndTheRegister) {
  t.p.pictureFiles[700] = "лес.jpg"_cp;
  ShowPictureLine(t.p, "КАР 1 лес.jpg"_cp);  // low modes skip pictures of the register
  ShowPictureLine(t.p, "КАР 0"_cp);          // and an empty name matches its empty entries
  EXPECT_FALSE(t.p.picturePanel.visible);

  ShowPictureLine(t.p, "КАР 2 лес.jpg"_cp);
  EXPECT_TRUE(t.p.picturePanel.visible);
  EXPECT_EQ(t.p.picture.file, In("Лес.JPG"));
  EXPECT_FALSE(t.p.picture.stretch);
  EXPECT_EQ(t.p.picture.width, 200 * kTwipsPerPixel);  // natural size

  t.p.picture.width = 5000;
  ShowPictureLine(t.p, "КАР 3_лес.jpg"_cp);  // any separator character
  EXPECT_TRUE(t.p.picture.stretch);
  EXPECT_EQ(t.p.picture.width, 5000);  // stretched over the image control as it is
  EXPECT_TRUE(t.platform.messages.empty());

  OnPictureClosed(t.p);
  EXPECT_FALSE(t.p.picturePanel.visible);
  EXPECT_EQ(t.p.focus, Focus::Story);
}

TEST_F(MediaTest, BadPictureLinesAreReportedAndShowNothing) {
  WriteRaw(t.game() / "empty.png", "");
  for (const char* line : {"КАР x лес.jpg", "КАР 2 нет.jpg", "КАР 2 empty.png", "КАР "}) {
    t.platform.messages.clear();
    ShowPictureLine(t.p, FromUtf8(line));
    EXPECT_EQ(t.platform.messages,
              std::vector<std::string>{"Ошибка в строке " + std::string(line) + " локации 4"});
  }
  EXPECT_FALSE(t.p.picturePanel.visible);
}

TEST_F(MediaTest, MusicAndSoundStartFromTheBeginningOnTheirOwnPlayers) {
  PlayMusicLine(t.p, "МУЗ theme.ogg"_cp);
  EXPECT_EQ(t.p.musicFile, "theme.ogg");
  EXPECT_EQ(t.platform.music.calls,
            (std::vector<std::string>{"Release", "Render " + In("theme.ogg"), "SetPosition",
                                      "SetVolume -100", "SetBalance 0", "Run"}));
  t.platform.music.position = 30;
  PlaySoundLine(t.p, "ЗВУ theme.ogg"_cp);
  EXPECT_EQ(t.platform.sound.volume, -60);
  EXPECT_EQ(t.platform.music.position, 30);  // the music goes on under the sound
  PlayMusicLine(t.p, "МУЗ theme.ogg"_cp);
  EXPECT_EQ(t.platform.music.position, 0);  // the same music again starts it over
}

TEST_F(MediaTest, MusicCountsAsEndedAtItsStartOrItsEnd) {
  FakeMediaPlayer& music = t.platform.music;
  EXPECT_TRUE(MusicEnded(t.p));  // nothing rendered
  PlayMusicLine(t.p, "МУЗ theme.ogg"_cp);
  music.duration = 60;
  EXPECT_TRUE(MusicEnded(t.p));
  music.position = 10;
  EXPECT_FALSE(MusicEnded(t.p));
  music.position = 60;
  EXPECT_TRUE(MusicEnded(t.p));
}

TEST_F(MediaTest, TheTimerRestartsEndedMusicAndRetriesUnplayableMusicSilently) {
  FakeMediaPlayer& music = t.platform.music;
  OnTimerTick(t.p);
  EXPECT_TRUE(music.calls.empty());  // no music was ever started

  PlayMusicLine(t.p, "МУЗ theme.ogg"_cp);
  music.duration = 60;
  music.position = 20;
  OnTimerTick(t.p);
  EXPECT_EQ(Count(music, "Run"), 1);
  music.position = 60;
  OnTimerTick(t.p);
  EXPECT_EQ(Count(music, "Run"), 2);
  EXPECT_EQ(music.position, 0);

  PlayMusicLine(t.p, "МУЗ нет.ogg"_cp);
  for (int i = 0; i < 3; ++i) OnTimerTick(t.p);
  EXPECT_EQ(Count(music, "Render " + In("нет.ogg")), 4);
  EXPECT_TRUE(t.platform.messages.empty());

  PlayMusicLine(t.p, "МУЗ "_cp);  // silence, and nothing to restart
  music.calls.clear();
  OnTimerTick(t.p);
  EXPECT_TRUE(music.calls.empty());
}

}  // namespace
}  // namespace mireval
