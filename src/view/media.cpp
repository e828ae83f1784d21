#include "view/media.h"

#include <system_error>

#include "base/files.h"
#include "base/script_error.h"
#include "base/text.h"
#include "base/vocabulary.h"
#include "model/player.h"
#include "model/report.h"
#include "script/game_files.h"

namespace mireval {

namespace {

std::string MediaError(const Player& p, const std::string& line) {
  return "Ошибка в строке "_cp + QuotedLine(line) + " локации "_cp + p.location.Text();
}

void Start(Player& p, MediaPlayer& player, const std::string& name, int volume) {
  player.Release();
  // Each step is tried on its own; a file that cannot be played, or one outside the game folder,
  // gives silence.
  std::optional<std::filesystem::path> file = FindGameFile(p, name);
  std::error_code ec;
  // A pipe or a device under a sound's name would hold the media framework for ever; a missing
  // file simply fails to render.
  if (!file || (std::filesystem::exists(*file, ec) && !std::filesystem::is_regular_file(*file, ec)))
    return;
  player.Render(*file);
  player.SetPosition(0);
  player.SetVolume(volume);
  player.SetBalance(0);
  player.Run();
}

}  // namespace

void ShowPictureLine(Player& p, const std::string& line) {
  if (!StartsWith(line, words::kPicture)) return;
  RunScriptStep(
      p, OnScriptError::ReportAndGoOn,
      [&] {
        if (line.size() < 5 || !IsDigit(line[4])) throw ScriptError("picture mode is not a digit");
        int mode = line[4] - '0';
        std::string name = Mid(line, 7);
        if (mode <= 1) {
          for (int i = 1; i <= kPictureSlots; ++i)
            if (p.pictureFiles[i] == name) return;
        }
        std::filesystem::path file = GamePath(p, name);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) throw ScriptError("not a file");
        int w = 0, h = 0;
        if (!p.platform.PictureSize(file, w, h)) throw ScriptError("not a picture");
        p.picture.stretch = mode % 2 == 1;
        p.picture.file = file.string();
        if (!p.picture.stretch) {
          p.picture.width = w * kTwipsPerPixel;
          p.picture.height = h * kTwipsPerPixel;
        }
        p.picturePanel.visible = true;
      },
      [&] { return MediaError(p, line); });
}

void PlaySoundLine(Player& p, const std::string& line) {
  std::string name = Mid(line, 5);
  StartSound(p, name);
}

void PlayMusicLine(Player& p, const std::string& line) {
  std::string name = Mid(line, 5);
  StartMusic(p, name);
  p.musicFile = Mid(line, 5);
}

void StartMusic(Player& p, std::string& name) {
  Start(p, p.platform.MusicPlayer(), name, kMusicVolume);
}

void StartSound(Player& p, std::string& name) {
  Start(p, p.platform.SoundPlayer(), name, kSoundVolume);
}

bool MusicEnded(Player& p) {
  MediaPlayer& music = p.platform.MusicPlayer();
  bool result = false;
  double pos = music.Position().value_or(0);
  if (pos == 0) result = true;
  pos = music.Position().value_or(0);
  if (pos <= 0) return result;
  pos = music.Position().value_or(0);
  double duration = music.Duration().value_or(0);
  return duration <= pos;
}

void OnTimerTick(Player& p) {
  if (!p.musicFile.empty() && MusicEnded(p)) {
    std::string name = p.musicFile;
    StartMusic(p, name);
  }
}

void OnPictureClosed(Player& p) {
  p.picturePanel.visible = false;
  p.focus = Focus::Story;
}

}  // namespace mireval
