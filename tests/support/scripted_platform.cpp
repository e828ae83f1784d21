#include "support/scripted_platform.h"

#include "base/text.h"
#include "model/player.h"

namespace mireval {

void FakeMediaPlayer::Release() {
  calls.push_back("Release");
  rendered.clear();
  running = false;
  position = 0;
}

bool FakeMediaPlayer::Render(const std::filesystem::path& file) {
  calls.push_back("Render " + file.string());
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  rendered = file.string();
  return true;
}

bool FakeMediaPlayer::SetPosition(double seconds) {
  calls.push_back("SetPosition");
  if (rendered.empty()) return false;
  position = seconds;
  return true;
}

std::optional<double> FakeMediaPlayer::Position() {
  if (rendered.empty()) return std::nullopt;
  return position;
}

std::optional<double> FakeMediaPlayer::Duration() {
  if (rendered.empty()) return std::nullopt;
  return duration;
}

bool FakeMediaPlayer::SetVolume(int v) {
  calls.push_back("SetVolume " + std::to_string(v));
  if (rendered.empty()) return false;
  volume = v;
  return true;
}

bool FakeMediaPlayer::SetBalance(int b) {
  calls.push_back("SetBalance " + std::to_string(b));
  if (rendered.empty()) return false;
  balance = b;
  return true;
}

bool FakeMediaPlayer::Run() {
  calls.push_back("Run");
  if (rendered.empty()) return false;
  running = true;
  return true;
}

void ScriptedPlatform::Then(std::function<void(Player&)> action) {
  events_.push_back(std::move(action));
}

void ScriptedPlatform::MessageBox(const std::string& text) {
  messages.push_back(ToUtf8(text));
}

void ScriptedPlatform::ShowScriptError(const std::string& text, const std::string& place) {
  MessageBox(text);
  scriptErrorPlaces.push_back(ToUtf8(place));
}

bool ScriptedPlatform::AskYesNo(const std::string& text, Answer preferred) {
  questions.push_back(ToUtf8(text));
  preferredAnswers.push_back(preferred);
  if (yesNoAnswers.empty()) return false;
  bool a = yesNoAnswers.front();
  yesNoAnswers.pop_front();
  return a;
}

std::string ScriptedPlatform::InputBox(const std::string& title) {
  questions.push_back(ToUtf8(title));
  if (inputAnswers.empty()) return {};
  std::string a = inputAnswers.front();
  inputAnswers.pop_front();
  return FromUtf8(a);
}

void ScriptedPlatform::PumpEvents() {
  ++pumps;
  if (events_.empty()) throw InputExhausted{};
  auto event = std::move(events_.front());
  events_.pop_front();
  RunEventHandler(*player_, [&] { event(*player_); });
}

void ScriptedPlatform::PlayQueued() {
  while (!events_.empty()) PumpEvents();
}

void ScriptedPlatform::ProcessPendingEvents() {
  while (!behind_.empty()) {
    auto event = std::move(behind_.front());
    behind_.pop_front();
    RunEventHandler(*player_, [&] { event(*player_); });
  }
}

void ScriptedPlatform::StartTimer(int intervalMs, std::function<void()> tick) {
  timerInterval = intervalMs;
  tick_ = std::move(tick);
}

void ScriptedPlatform::FireTimer() {
  if (tick_) tick_();
}

void ScriptedPlatform::EndProgram(int status) {
  throw ProgramEnded{status};
}

bool ScriptedPlatform::PictureSize(const std::filesystem::path& file, int& width, int& height) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  if (std::filesystem::file_size(file, ec) == 0) return false;  // an empty file is no picture
  width = 200;
  height = 100;
  return true;
}

}  // namespace mireval
