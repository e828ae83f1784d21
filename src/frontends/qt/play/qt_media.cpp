#include "frontends/qt/play/qt_media.h"

#include <QtMultimedia/qaudio.h>
#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QImageReader>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <cstdio>

namespace mireval {

float LinearVolume(int hundredthsOfDb) {
  return static_cast<float>(LinearGain(hundredthsOfDb));
}

QString QtPath(const std::filesystem::path& file) {
  return QFile::decodeName(QByteArray::fromStdString(file.native()));
}

QImage ReadPicture(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return {};
  // The format is judged by the content: game authors name files freely.
  QImageReader reader(QtPath(file));
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  if (image.isNull() || image.width() <= 0 || image.height() <= 0) return {};
  return image;
}

QtMediaPlayer::QtMediaPlayer() = default;

QtMediaPlayer::~QtMediaPlayer() {
  Release();
}

void QtMediaPlayer::Release() {
  if (player_) player_->stop();
  player_.reset();
  output_.reset();
}

bool QtMediaPlayer::Render(const std::filesystem::path& file) {
  Release();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  if (QMediaDevices::audioOutputs().isEmpty()) {
    // Without a device every attempt would build a pipeline only to fail, and the music is
    // retried on every tick of the timer: say it once and stay silent.
    static bool told = false;
    if (!told)
      std::fputs("mirplay: no audio output device; music and sounds stay silent\n", stderr);
    told = true;
    return false;
  }
  output_ = std::make_unique<QAudioOutput>();
  player_ = std::make_unique<QMediaPlayer>();
  player_->setAudioOutput(output_.get());
  player_->setSource(QUrl::fromLocalFile(QtPath(file)));
  return true;
}

bool QtMediaPlayer::SetPosition(double seconds) {
  if (!player_) return false;
  player_->setPosition(static_cast<qint64>(seconds * 1000));
  return true;
}

std::optional<double> QtMediaPlayer::Position() {
  if (!player_) return std::nullopt;
  // A finished stream stands at its end, whatever position the backend reports after stopping.
  if (player_->mediaStatus() == QMediaPlayer::EndOfMedia)
    return static_cast<double>(player_->duration()) / 1000.0;
  return static_cast<double>(player_->position()) / 1000.0;
}

std::optional<double> QtMediaPlayer::Duration() {
  if (!player_) return std::nullopt;
  return static_cast<double>(player_->duration()) / 1000.0;
}

bool QtMediaPlayer::SetVolume(int hundredthsOfDb) {
  if (!output_) return false;
  output_->setVolume(LinearVolume(hundredthsOfDb));
  return true;
}

bool QtMediaPlayer::SetBalance(int balance) {
  // Qt's outputs play every channel as recorded: the centre is all they offer.
  return output_ != nullptr && balance == 0;
}

bool QtMediaPlayer::Run() {
  if (!player_) return false;
  player_->play();
  return true;
}

float QtMediaPlayer::Volume() const {
  return output_ ? output_->volume() : 0.0f;
}

bool QtMediaPlayer::Playing() const {
  return player_ && player_->playbackState() == QMediaPlayer::PlayingState;
}

}  // namespace mireval
