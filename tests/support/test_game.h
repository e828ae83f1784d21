// Tiny game folders for tests, written in Windows-1251 with CR LF line ends from UTF-8 literals.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "model/player.h"
#include "support/scripted_platform.h"
#include "support/temp_files.h"

namespace mireval {

// Writes into `folder` the main file of a game named "Игра" that begins in location 1, and a
// common location with nothing but its header; the other locations are the test's.
void WriteGameFrame(const std::filesystem::path& folder);

// A player over a scripted platform, with a working folder and a game folder of its own.
struct TestPlayer {
  TestPlayer();
  // Writes a file into the game folder.
  void Game(const std::string& name, const std::string& utf8) {
    WriteGameFile(game() / name, utf8);
  }
  // Writes a file into the working folder.
  void Work(const std::string& name, const std::string& utf8) {
    WriteGameFile(work() / name, utf8);
  }
  std::filesystem::path work() const { return root.path() / "work"; }
  std::filesystem::path game() const { return root.path() / "game"; }
  // The story area in UTF-8.
  std::string Story() const;
  // Sets gameFolderText to the game folder.
  void UseGameDir();
  // Sets condition n.
  void Set(int n, bool v = true) { p.conditions.Set(n, v); }
  // What `show` writes into the story area, cleared first.
  std::string StoryOf(const std::function<void(Player&)>& show);
  // Starts the game of WriteGameFrame, written into the game folder beside the locations the test
  // wrote, as the browser does; Enter is queued for the introduction's transition. It presses a
  // key, and so comes with the keys of the whole program.
  void StartGame();

  TempDir root;
  ScriptedPlatform platform;
  Player p;
};

// A player standing in location 1 of its game folder, whose common location (room0.txt) holds
// nothing but its header: where the tests of the game's readers start.
struct LocationPlayer : TestPlayer {
  LocationPlayer();
  // Writes location 1: a header, then `body`.
  void Room(const std::string& body) { Game("room1.txt", "РН x\n" + body); }
};

// Runs `f`, expecting the program to end; returns the exit status.
template <class F>
int ExpectEnd(F&& f) {
  try {
    f();
  } catch (const ProgramEnded& e) {
    return e.status;
  }
  return -1;
}

// Runs `f`, which must show an error report and end the program as after an error. Returns the
// report (UTF-8) when the platform's record holds it alone and the exit status is
// kExitAfterError; otherwise what happened instead, in angle brackets, which no report equals or
// contains.
template <class F>
std::string FatalReport(const ScriptedPlatform& platform, F&& f) {
  const int status = ExpectEnd(std::forward<F>(f));
  if (status != kExitAfterError)
    return status == -1 ? "<the program did not end>"
                        : "<the program ended with status " + std::to_string(status) + ">";
  if (platform.messages.size() != 1)
    return "<" + std::to_string(platform.messages.size()) + " messages>";
  return platform.messages[0];
}

}  // namespace mireval
