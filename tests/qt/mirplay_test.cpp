// The real mirplay on a real X server (Xvfb, started here): it opens its window, plays the game
// start.txt names, and draws something.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <set>
#include <thread>

#include "support/child_process.h"
#include "support/test_game.h"

namespace mireval {
namespace {

namespace fs = std::filesystem;

// An X server on a display number it picks itself.
class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    server_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                             "-screen", "0", "800x640x24", "-nolisten", "tcp",
                                             "-br", "-noreset"});
    close(fds[1]);
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&pfd, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  const std::string& display() const { return display_; }

 private:
  std::optional<Child> server_;
  std::string display_;
};

// A screenshot of the whole screen, read from xwd's dump of a TrueColor screen (24 or 32 bits a
// pixel, as Xvfb gives).
QImage Screenshot(const std::string& display) {
  const ChildRun xwd = RunChild({"xwd", "-root", "-silent", "-display", display}, {}, 20);
  if (xwd.status != 0) return {};
  const std::string& d = xwd.out;
  auto card = [&](std::size_t i) -> std::uint32_t {
    if (d.size() < 4 * (i + 1)) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(d.data() + 4 * i);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           b[3];
  };
  const std::uint32_t headerSize = card(0), width = card(4), height = card(5);
  const std::uint32_t byteOrder = card(7), bitsPerPixel = card(11), bytesPerLine = card(12);
  const std::uint32_t redMask = card(14), greenMask = card(15), blueMask = card(16);
  const std::uint32_t colours = card(19);
  const std::size_t start = headerSize + 12u * colours;
  const std::uint32_t bytesPerPixel = bitsPerPixel / 8;
  if ((bitsPerPixel != 24 && bitsPerPixel != 32) || width == 0 || height == 0 ||
      d.size() < start + std::size_t{bytesPerLine} * height) {
    return {};
  }
  auto shift = [](std::uint32_t mask) {
    int s = 0;
    while (mask && !(mask & 1)) mask >>= 1, ++s;
    return s;
  };
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const auto* b = reinterpret_cast<const unsigned char*>(d.data() + start + y * bytesPerLine +
                                                             bytesPerPixel * x);
      std::uint32_t px = 0;
      for (std::uint32_t i = 0; i < bytesPerPixel; ++i)
        px |= std::uint32_t{b[i]} << (8 * (byteOrder == 0 ? i : bytesPerPixel - 1 - i));
      image.setPixel(static_cast<int>(x), static_cast<int>(y),
                     qRgb(static_cast<int>((px & redMask) >> shift(redMask)),
                          static_cast<int>((px & greenMask) >> shift(greenMask)),
                          static_cast<int>((px & blueMask) >> shift(blueMask))));
    }
  }
  return image;
}

// Not blank: the window covers most of its area with something other than the black root, in
// more than a couple of colours (text, fields, labels).
bool ShowsAWindow(const QImage& shot) {
  if (shot.isNull()) return false;
  const QRect area = QRect(0, 0, 792, 628).intersected(shot.rect());
  std::set<QRgb> colours;
  long covered = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      QRgb c = shot.pixel(x, y) & 0xFFFFFF;
      colours.insert(c);
      if (c != 0) ++covered;
    }
  }
  return colours.size() >= 8 && covered > area.width() * area.height() / 2;
}

// A program folder holding the demo (as "demo") and `startTxt`, and mirplay started in it with
// `args` on an X server of its own.
class MirplayRun {
 public:
  MirplayRun(const std::string& startTxt, const std::vector<std::string>& args) {
    fs::create_directories(program());
    WriteGameFile(program() / "obloz.txt", "Обложка для проверки\n");
    fs::create_directory_symlink(DEMO_GAME_DIR, program() / "demo");
    WriteGameFile(program() / "start.txt", startTxt);
    const fs::path runtime = dir_.path() / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    if (x_.display().empty()) return;
    ChildOptions o;
    o.cwd = program();
    o.err = dir_.path() / "mirplay.err";
    o.env = {{"DISPLAY", x_.display()},
             {"QT_QPA_PLATFORM", "xcb"},
             {"ASAN_OPTIONS", "detect_leaks=0"},
             {"XDG_RUNTIME_DIR", runtime.string()}};
    std::vector<std::string> argv = {MIRPLAY_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    mirplay_.emplace(argv, o);
  }
  fs::path program() const { return dir_.path() / "program"; }
  const std::string& display() const { return x_.display(); }
  bool Started() { return mirplay_ && mirplay_->Started(); }
  bool Running() { return mirplay_ && mirplay_->Running(); }
  std::string Errors() const { return ReadRaw(dir_.path() / "mirplay.err"); }

 private:
  TempDir dir_;
  Xvfb x_;
  std::optional<Child> mirplay_;
};

TEST(Mirplay, OpensItsWindowOnAnXServerAndPlaysTheAutostartGame) {
  if (!HaveProgram("Xvfb") || !HaveProgram("xwd")) GTEST_SKIP() << "Xvfb or xwd missing";
  MirplayRun run("demo\n", {});
  ASSERT_TRUE(run.Started()) << "Xvfb or mirplay did not start";

  QImage shot;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  do {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(run.Running()) << run.Errors();
    shot = Screenshot(run.display());
  } while (!ShowsAWindow(shot) && std::chrono::steady_clock::now() < until);
  EXPECT_TRUE(ShowsAWindow(shot)) << "screenshot " << shot.width() << "x" << shot.height() << "\n"
                                  << run.Errors();
  if (const char* keep = std::getenv("MIREVAL_SCREENSHOT"))
    shot.copy(0, 0, 792, 628).save(QString::fromLocal8Bit(keep));
  // The program still runs, waiting for the player, until it is told to go.
  EXPECT_TRUE(run.Running());
}

// `mirplay demo` from a shell in the program folder: the game named is played, and start.txt,
// which names a game that is not there, is not read (it would stop the start with a message).
TEST(Mirplay, PlaysTheGameNamedOnItsCommandLineAheadOfStartTxt) {
  if (!HaveProgram("Xvfb") || !HaveProgram("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing";
  MirplayRun run("nowhere\n", {"demo"});
  ASSERT_TRUE(run.Started()) << "Xvfb or mirplay did not start";

  // The title bar names the game being played.
  ChildOptions find;
  find.env = {{"DISPLAY", run.display()}};
  bool found = false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!found && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(run.Running()) << run.Errors();
    found = RunChild({"xdotool", "search", "--name", "Старая мельница"}, find, 10).status == 0;
  }
  EXPECT_TRUE(found) << run.Errors();
}

}  // namespace
}  // namespace mireval
