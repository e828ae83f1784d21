// Child processes for the tests that need a display server, a sound server or the real program.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace mireval {

// Whether `name` is an executable on PATH.
bool HaveProgram(const std::string& name);

// A started child, in a process group of its own; ended (SIGTERM, then SIGKILL) when the object
// goes. It inherits every descriptor not marked close-on-exec.
class Child {
 public:
  struct Options {
    std::map<std::string, std::string> env;  // added to or replacing this process's environment
    std::filesystem::path cwd;
    std::filesystem::path out;  // standard output to this file
    std::filesystem::path err;  // standard error to this file
  };
  Child(const std::vector<std::string>& argv, const Options& options);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running();
  // Sends SIGTERM and waits; returns the exit status, or -signal when a signal ended it.
  int Stop();
  // Waits at most `seconds` for the child to end by itself; -1000 when it did not.
  int Wait(double seconds);

 private:
  pid_t pid_ = -1;
  int status_ = -1000;
};

// Runs a program to its end (at most `seconds`) and returns its exit status.
int RunProgram(const std::vector<std::string>& argv, const Child::Options& options,
               double seconds = 20);

}  // namespace mireval
