#include "fuzz_game.h"

#include <system_error>

#include "base/files.h"
#include "base/lines.h"
#include "base/text.h"
#include "model/player.h"

namespace fs = std::filesystem;

namespace mireval::fuzz {

Folders::Folders(const fs::path& gameToCopy)
    : work_(root_.path() / "work"), game_(root_.path() / "game") {
  fs::create_directories(work_);
  fs::create_directories(game_);
  if (gameToCopy.empty()) return;
  for (const auto& entry : fs::directory_iterator(gameToCopy))
    if (entry.is_regular_file())
      fs::copy_file(entry.path(), game_ / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
}

void Folders::Write(const std::string& name, std::string_view bytes) const {
  WriteRaw(game_ / name, std::string(bytes));
}

void Folders::Clean() const {
  std::error_code ec;
  for (const fs::path& dir : {work_, game_}) {
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& file = it->path();
      const std::string name = file.filename().string();
      if (name == "temps.dat" || name == "logfile.txt" || file.extension() == ".sav" ||
          name.find(".part") != std::string::npos)
        fs::remove(file, ec);
    }
  }
}

std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size,
                                         std::size_t count) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    std::size_t nul = in.find('\0');
    if (nul == std::string_view::npos) break;
    parts.push_back(in.substr(0, nul));
    in.remove_prefix(nul + 1);
  }
  parts.push_back(in);
  parts.resize(count);
  return parts;
}

void Play(Player& p, const std::function<void()>& play) {
  try {
    RunEventHandler(p, play);
  } catch (const ProgramEnded&) {
  } catch (const InputExhausted&) {
  }
}

void QueueLines(ScriptedPlatform& platform, std::string_view lines, std::size_t limit,
                const std::function<void(Player&)>& afterEach, int enters) {
  std::size_t pos = 0, typed = 0;
  while (pos < lines.size() && typed++ < limit) {
    // The scripted platform takes UTF-8; every Windows-1251 byte survives the round trip.
    platform.Enter(ToUtf8(NextLine(lines, pos)));
    if (afterEach) platform.Then(afterEach);
  }
  for (int i = 0; i < enters; ++i) platform.Enter();
}

}  // namespace mireval::fuzz
