#include "script/game_files.h"

#include <optional>
#include <system_error>

#include "base/cipher.h"
#include "base/files.h"
#include "base/script_error.h"
#include "base/variant.h"
#include "base/vocabulary.h"
#include "model/player.h"

namespace mireval {

namespace {
// The decoded text is read from memory. It is never written to disk: a plain copy in the working
// folder would undo the scrambling, and a read-only or full working folder would end the game.
void Decode(Player& p, CipherKind kind) {
  std::string text = DecryptBody(p.file.Rest(), kind);
  p.file.Close();
  p.file.OpenText(std::move(text));
  p.file.ReadLine(p.line);
}
// The folder with every link followed: what no game file may leave.
std::filesystem::path RealFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path real = std::filesystem::weakly_canonical(folder, ec);
  return ec ? folder : real;
}

std::optional<std::filesystem::path> FindIn(const std::filesystem::path& folder,
                                            const std::filesystem::path& real,
                                            std::string_view name) {
  // A game is a stranger's download: what it names is read from its own folder, never through
  // ".." or a link that leads out of it.
  std::optional<std::filesystem::path> file = ResolveUnder(folder, name);
  if (!file || !LiesInside(*file, real)) return std::nullopt;
  return file;
}
}  // namespace

void SetGameFolder(GameState& g, const std::filesystem::path& folder) {
  g.gameFolder = folder;
  g.gameFolderReal = RealFolder(folder);
  g.gameFolderText = PathText(folder);
  if (g.gameFolderText.empty() || g.gameFolderText.back() != '/') g.gameFolderText += '/';
}

std::optional<std::filesystem::path> FindGameFile(const Player& p, std::string_view name) {
  return FindIn(p.gameFolder, p.gameFolderReal, name);
}

std::optional<std::filesystem::path> FindGameFile(const std::filesystem::path& folder,
                                                  std::string_view name) {
  return FindIn(folder, RealFolder(folder), name);
}

std::filesystem::path GamePath(const Player& p, std::string_view name) {
  std::optional<std::filesystem::path> file = FindGameFile(p, name);
  if (!file) throw ScriptError("outside the game folder: " + std::string(name));
  return *file;
}

std::string RoomFileName(const Variant& room) {
  return std::string(words::kLocationFilePrefix) + room.Text() +
         std::string(words::kTextFileSuffix);
}

void OpenGameFile(Player& p, std::string_view name) {
  p.file.Open(GamePath(p, name));
}

ScopedGameFile::ScopedGameFile(Player& p, std::string_view name) : p_(p) {
  OpenGameFile(p, name);
}

ScopedGameFile::~ScopedGameFile() {
  CloseGameFile(p_);
}

void ReadPlainLine(Player& p) {
  p.file.ReadLine(p.line);
  p.place = p.file.Place();
}

void ReadScriptLine(Player& p) {
  p.file.ReadLine(p.line);
  if (auto kind = MarkerKind(p.line)) Decode(p, *kind);
  p.place = p.file.Place();
}

void CloseGameFile(Player& p) {
  p.file.Close();
}

}  // namespace mireval
