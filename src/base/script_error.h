#pragma once

#include <stdexcept>
#include <string>

namespace mireval {

// A failing script operation: an index out of range, a text that is not a number, a missing file,
// reading past the end of a file. Each procedure that reports errors catches it at its boundary and
// shows its own message; the description here is for logs and tests only.
class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace mireval
