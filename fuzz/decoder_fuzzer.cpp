// The decoder of scrambled files. The first byte chooses the variant (odd: strong); the rest is
// read as the number lines after the marker, and, as plain text, must scramble and decode back to
// the same lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/cipher.h"
#include "base/lines.h"
#include "base/script_error.h"

using namespace mireval;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const CipherKind kind = (data[0] & 1) != 0 ? CipherKind::Strong : CipherKind::Ordinary;
  const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    (void)DecryptBody(body, kind);
  } catch (const ScriptError&) {
    // A damaged file is reported by the reader that met it.
  }

  const std::vector<std::string> lines = SplitLines(body);
  const std::string scrambled = Encrypt(lines, kind);
  std::size_t pos = 0;
  if (NextLine(scrambled, pos) != MarkerLine(kind)) __builtin_trap();
  if (DecryptBody(std::string_view(scrambled).substr(pos), kind) != JoinCrLf(lines))
    __builtin_trap();
  return 0;
}
