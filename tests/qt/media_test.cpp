// Pictures through Qt's readers and the players' behaviour where there is nothing to play.
#include <QAudioDevice>
#include <QBuffer>
#include <QImage>
#include <QMediaDevices>
#include <cmath>

#include "base/text.h"
#include "frontends/qt/play/qt_media.h"
#include "qt_fixture.h"
#include "view/media.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

// A one-pixel GIF; Qt reads GIF but does not write it.
const char kGif[] =
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,"
    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";

TEST(LinearVolume, HundredthsOfADecibelBecomeAGain) {
  EXPECT_NEAR(LinearVolume(0), 1.0, 1e-6);
  EXPECT_NEAR(LinearVolume(kMusicVolume), std::pow(10.0, -1.0 / 20), 1e-4);  // 0.891
  EXPECT_NEAR(LinearVolume(kSoundVolume), std::pow(10.0, -0.6 / 20), 1e-4);  // 0.933
  EXPECT_NEAR(LinearVolume(-10000), 0.0, 1e-4);
}

TEST_F(WindowTest, PicturesOfEveryCommonFormatAreMeasured) {
  QImage image(7, 5, QImage::Format_RGB32);
  image.fill(Qt::red);
  for (const char* format : {"BMP", "PNG", "JPEG"}) {
    fs::path file = game() / (std::string("pic.") + format);
    ASSERT_TRUE(image.save(QtPath(file), format)) << format;
    // The content decides, not the name.
    fs::path renamed = game() / (std::string("picture-") + format + ".dat");
    fs::rename(file, renamed);
    int w = 0, h = 0;
    EXPECT_TRUE(platform.PictureSize(renamed, w, h)) << format;
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 5);
  }
  WriteRaw(game() / "dot.gif", std::string(kGif, sizeof kGif - 1));
  int w = 0, h = 0;
  EXPECT_TRUE(platform.PictureSize(game() / "dot.gif", w, h));
  EXPECT_EQ(w, 1);
}

TEST_F(WindowTest, WhatIsNotAPictureIsRefusedWithoutHarm) {
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  WriteRaw(game() / "cut.png", png.left(png.size() / 3).toStdString());
  WriteRaw(game() / "text.png", "Текстовый квест");
  WriteRaw(game() / "empty.bmp", "");
  int w = -1, h = -1;
  for (const char* name : {"cut.png", "text.png", "empty.bmp", "missing.png"})
    EXPECT_FALSE(platform.PictureSize(game() / name, w, h)) << name;
  EXPECT_FALSE(platform.PictureSize(game(), w, h));  // a folder
  EXPECT_EQ(w, -1);
}

TEST_F(WindowTest, MusicWithNothingToPlayIsSilenceAndRetried) {
  QtMediaPlayer& music = platform.Music();
  EXPECT_FALSE(music.Render(game() / "missing.ogg"));
  EXPECT_FALSE(music.HasMedia());
  EXPECT_EQ(music.Position(), std::nullopt);
  EXPECT_FALSE(music.SetVolume(kMusicVolume));
  EXPECT_FALSE(music.Run());

  // An empty music line stops the music and leaves nothing for the timer to restart.
  PlayMusicLine(p, "МУЗ "_cp);
  EXPECT_FALSE(music.HasMedia());
  EXPECT_EQ(p.musicFile, "");
  WriteRaw(game() / "noise.ogg", "this is not a sound");
  if (QMediaDevices::audioOutputs().isEmpty()) {
    // No device to play on: nothing is built, tick after tick.
    PlayMusicLine(p, "МУЗ noise.ogg"_cp);
    EXPECT_FALSE(music.HasMedia());
    EXPECT_EQ(p.musicFile, "noise.ogg"_cp);
    OnTimerTick(p);
    EXPECT_FALSE(music.HasMedia());
    return;
  }
  // A file that exists but is no music: tried, never plays, never reported.
  PlayMusicLine(p, "МУЗ noise.ogg"_cp);
  EXPECT_TRUE(music.HasMedia());
  EXPECT_NEAR(music.Volume(), LinearVolume(kMusicVolume), 1e-4);
  EXPECT_TRUE(MusicEnded(p));
  OnTimerTick(p);
  EXPECT_TRUE(music.HasMedia());
}

}  // namespace
}  // namespace mireval
