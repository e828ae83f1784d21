// Music and sound in the browser: each slot is an <audio> element that the page's runtime keeps
// (bridge.js); the engine holds only the slot's number.
#pragma once

#include "platform/platform.h"

namespace mireval {

class WebMediaPlayer : public MediaPlayer {
 public:
  explicit WebMediaPlayer(int slot) : slot_(slot) {}
  void Release() override;
  bool Render(const std::filesystem::path& file) override;
  bool SetPosition(double seconds) override;
  std::optional<double> Position() override;
  std::optional<double> Duration() override;
  bool SetVolume(int hundredthsOfDb) override;
  // An <audio> element has no balance; the request is taken and nothing changes.
  bool SetBalance(int balance) override;
  bool Run() override;

 private:
  int slot_;
};

}  // namespace mireval
