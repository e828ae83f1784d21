// Pictures, sound and music named by directive lines of the game text.
#pragma once

#include <string>

namespace mireval {

struct Player;

constexpr int kMusicVolume = -100;  // hundredths of a decibel
constexpr int kSoundVolume = -60;
constexpr int kTimerIntervalMs = 2000;
constexpr double kTwipsPerPixel = 15;

void ShowPictureLine(Player& p, const std::string& line);
void PlaySoundLine(Player& p, const std::string& line);
void PlayMusicLine(Player& p, const std::string& line);

// `name` is relative to the game folder; on return it holds the full path that was played.
void StartMusic(Player& p, std::string& name);
void StartSound(Player& p, std::string& name);
// True when the music stands at its start (or nothing plays) or at or after its end.
bool MusicEnded(Player& p);

// The 2000 ms timer: restarts music that has ended.
void OnTimerTick(Player& p);

// The close button of the picture panel.
void OnPictureClosed(Player& p);

}  // namespace mireval
