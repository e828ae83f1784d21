// C library calls that emscripten 3.1.6 declares but does not implement, built from the ones it
// has. Linked into every program of the web build.
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>

// The temporary names of atomically written files draw on it. getentropy gives at most 256 bytes
// a call, from the browser's or node's cryptographic generator.
extern "C" ssize_t getrandom(void* buffer, std::size_t length, unsigned int /*flags*/) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  for (std::size_t done = 0; done < length;) {
    const std::size_t chunk = std::min<std::size_t>(length - done, 256);
    if (getentropy(bytes + done, chunk) != 0) return done > 0 ? static_cast<ssize_t>(done) : -1;
    done += chunk;
  }
  return static_cast<ssize_t>(length);
}
