#include "engine/game_files.h"

#include <system_error>

#include "engine/cipher.h"
#include "engine/files.h"
#include "engine/script_error.h"
#include "engine/variant.h"
#include "shell/player.h"

namespace mireval {

namespace {
constexpr std::string_view kTempName = "temps.dat";

void Decode(Player& p, CipherKind kind) {
  std::string text = DecryptBody(p.file.Rest(), kind);
  p.file.Close();
  if (!WriteFileAtomically(p.WorkFile(kTempName), text))
    throw ScriptError("cannot write temps.dat");
  p.file.OpenText(std::move(text));
  p.file.ReadLine(p.Stroka);
  p.TempUsed = true;
}
}  // namespace

std::filesystem::path GamePath(const Player& p, std::string_view name) {
  return ResolvePath(p.GameDir + std::string(name));
}

std::string RoomFileName(const Variant& room) {
  return "room" + room.Text() + ".txt";
}

void OpenGameFile(Player& p, std::string_view name) {
  p.file.Open(GamePath(p, name));
}

void ReadPlainLine(Player& p) {
  p.file.ReadLine(p.Stroka);
}

void ReadScriptLine(Player& p) {
  p.file.ReadLine(p.Stroka);
  if (auto kind = MarkerKind(p.Stroka)) Decode(p, *kind);
}

void CloseGameFile(Player& p) {
  p.file.Close();
}

void CloseGameFileAndTemp(Player& p) {
  p.file.Close();
  if (p.TempUsed) {
    std::error_code ec;
    std::filesystem::remove(p.WorkFile(kTempName), ec);
    p.TempUsed = false;
  }
}

void REShifr(Player& p) {
  Decode(p, CipherKind::Ordinary);
}
void REShifrStrong(Player& p) {
  Decode(p, CipherKind::Strong);
}

}  // namespace mireval
