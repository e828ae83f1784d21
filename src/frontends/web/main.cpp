// mirweb: the player in a web page. The page loads this program, draws the view it sends and
// sends it the player's keys and clicks (README.md beside this file describes the bridge).
#include <emscripten.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/startup.h"
#include "base/files.h"
#include "frontends/web/web_platform.h"
#include "model/player.h"

// Mounts the games folder from IndexedDB and waits until its files are read back. Where the
// browser keeps no IndexedDB (a private window may refuse it), the folder lives in memory only.
EM_ASYNC_JS(void, mirweb_mount_games, (const char* folder),
            { await Module.mirweb.mountGames(UTF8ToString(folder)); });
EM_JS(void, mirweb_ended, (int status), { Module.mirweb.ended(status); });

namespace {

namespace fs = std::filesystem;

// Copies each built-in game into the games folder where its files differ from the copy there,
// leaving saves and anything else the player wrote. A file that is already the same is not
// written again, so that it is not stored again.
void UnpackBuiltInGames(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = to / fs::relative(it->path(), from, ec);
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
      continue;
    }
    const std::optional<std::string> built = mireval::ReadWholeFile(it->path());
    if (built && built != mireval::ReadWholeFile(target))
      fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
  }
}

// "--seed N" from the page's address (?seed=N): a run whose random conditions repeat.
std::optional<long> SeedOption(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--seed") return std::strtol(argv[i + 1], nullptr, 10);
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  mirweb_mount_games(mireval::kGamesFolder);
  UnpackBuiltInGames(mireval::kBuiltInGamesFolder, mireval::kGamesFolder);
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
