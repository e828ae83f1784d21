// mirweb: the player in a web page. The page loads this program, draws the view it sends and
// sends it the player's keys and clicks (README.md beside this file describes the bridge).
#include <emscripten.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/startup.h"
#include "frontends/web/web_platform.h"
#include "model/player.h"

// Mounts the games folder from IndexedDB, waits until its files are read back, and unpacks the
// built-in games into it (bridge.js: typed arrays copy the files far faster than the file calls).
EM_ASYNC_JS(void, mirweb_mount_games, (const char* folder, const char* builtIn),
            { await Module.mirweb.mountGames(UTF8ToString(folder), UTF8ToString(builtIn)); });
EM_JS(void, mirweb_ended, (int status), { Module.mirweb.ended(status); });

namespace {

namespace fs = std::filesystem;

// "--seed N" from the page's address (?seed=N): a run whose random conditions repeat.
std::optional<long> SeedOption(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--seed") return std::strtol(argv[i + 1], nullptr, 10);
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  mirweb_mount_games(mireval::kGamesFolder, mireval::kBuiltInGamesFolder);
  std::error_code ec;
  fs::current_path(mireval::kProgramFolder, ec);

  mireval::WebPlatform platform(SeedOption(argc, argv));
  mireval::Player player(platform, mireval::kProgramFolder);
  platform.Attach(player);
  try {
    mireval::RunEventHandler(player, [&] { mireval::StartPlayer(player); });
    for (;;) platform.PumpEvents();
  } catch (const mireval::WebExit& e) {
    mirweb_ended(e.status);
    return e.status;
  }
}
