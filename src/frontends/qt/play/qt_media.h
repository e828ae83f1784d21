// Sound, music and pictures through Qt: the two players behind the engine's MediaPlayer slots and
// the picture reader behind Platform::PictureSize and the picture panel.
#pragma once

#include <QImage>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/platform.h"

class QAudioOutput;
class QMediaPlayer;

namespace mireval {

// Gain factor for an attenuation in hundredths of a decibel (-100 = -1.00 dB), as Qt's audio
// outputs take it.
float LinearVolume(int hundredthsOfDb);

// A file system path as Qt names it.
QString QtPath(const std::filesystem::path& file);

// Decodes a picture file completely. A null image when the file is missing, is not a picture in a
// format Qt reads, or is too large to decode.
QImage ReadPicture(const std::filesystem::path& file);

// One playback slot. Every Render builds a fresh QMediaPlayer, so a restart always begins from a
// clean pipeline; loading is asynchronous, and a file that turns out unplayable simply never
// leaves position 0.
class QtMediaPlayer : public MediaPlayer {
 public:
  QtMediaPlayer();
  ~QtMediaPlayer() override;

  void Release() override;
  bool Render(const std::filesystem::path& file) override;
  bool SetPosition(double seconds) override;
  std::optional<double> Position() override;
  std::optional<double> Duration() override;
  bool SetVolume(int hundredthsOfDb) override;
  bool SetBalance(int balance) override;
  bool Run() override;

  // What the slot holds now (for the window's own checks and for tests).
  bool HasMedia() const { return player_ != nullptr; }
  float Volume() const;
  bool Playing() const;

 private:
  // The output is declared first so that it outlives the player that renders into it.
  std::unique_ptr<QAudioOutput> output_;
  std::unique_ptr<QMediaPlayer> player_;
};

}  // namespace mireval
