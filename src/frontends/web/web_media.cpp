#include "frontends/web/web_media.h"

#include <emscripten.h>

#include <cmath>

// Each call goes to the runtime's audio slots (Module.mirweb.audio in bridge.js). Numbers that are
// not known yet (the length before the file's header has loaded) come back as NaN.
EM_JS(void, mirweb_audio_release, (int slot), { Module.mirweb.audio.release(slot); });
EM_JS(int, mirweb_audio_render, (int slot, const char* file),
      { return Module.mirweb.audio.render(slot, UTF8ToString(file)) ? 1 : 0; });
EM_JS(int, mirweb_audio_seek, (int slot, double seconds),
      { return Module.mirweb.audio.seek(slot, seconds) ? 1 : 0; });
EM_JS(double, mirweb_audio_position, (int slot), { return Module.mirweb.audio.position(slot); });
EM_JS(double, mirweb_audio_duration, (int slot), { return Module.mirweb.audio.duration(slot); });
EM_JS(int, mirweb_audio_volume, (int slot, double gain),
      { return Module.mirweb.audio.volume(slot, gain) ? 1 : 0; });
EM_JS(int, mirweb_audio_holds, (int slot), { return Module.mirweb.audio.holds(slot) ? 1 : 0; });
EM_JS(int, mirweb_audio_play, (int slot), { return Module.mirweb.audio.play(slot) ? 1 : 0; });

namespace mireval {

namespace {

std::optional<double> Known(double seconds) {
  if (std::isnan(seconds)) return std::nullopt;
  return seconds;
}

}  // namespace

void WebMediaPlayer::Release() {
  mirweb_audio_release(slot_);
}

bool WebMediaPlayer::Render(const std::filesystem::path& file) {
  return mirweb_audio_render(slot_, file.c_str()) != 0;
}

bool WebMediaPlayer::SetPosition(double seconds) {
  return mirweb_audio_seek(slot_, seconds) != 0;
}

std::optional<double> WebMediaPlayer::Position() {
  return Known(mirweb_audio_position(slot_));
}

std::optional<double> WebMediaPlayer::Duration() {
  return Known(mirweb_audio_duration(slot_));
}

bool WebMediaPlayer::SetVolume(int hundredthsOfDb) {
  // An element's volume is a linear gain.
  return mirweb_audio_volume(slot_, LinearGain(hundredthsOfDb)) != 0;
}

bool WebMediaPlayer::SetBalance(int) {
  return mirweb_audio_holds(slot_) != 0;
}

bool WebMediaPlayer::Run() {
  return mirweb_audio_play(slot_) != 0;
}

}  // namespace mireval
