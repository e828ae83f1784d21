// Other programs started by the tests: the real players and tools, and the servers some tests need.
// No shell stands between: the arguments reach the program as they are, so nothing is quoted; a
// test that wants a shell runs "/bin/sh -c" through here and says so.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mireval {

class TempDir;

// Every member has an initializer, so that a designated initializer may name only those it sets.
struct ChildOptions {
  std::filesystem::path cwd{};               // the working folder; empty: this process's
  std::map<std::string, std::string> env{};  // added to, or replacing, this process's environment
  std::vector<std::string> unsetEnv{};       // names taken out of it
  std::filesystem::path in{};                // standard input from this file ...
  std::string input{};                       // ... or these bytes; neither: /dev/null
  std::filesystem::path out{};               // standard output to this file; empty: captured
  std::filesystem::path err{};               // standard error to this file; empty: captured
  bool errToOut = false;                     // standard error into standard output, as 2>&1
  std::size_t stackKb = 0;                   // above 0: the child's stack limit, as ulimit -s
};

// How a child ended and what it wrote.
struct ChildRun {
  bool started = false;   // false when the program could not be run at all
  bool timedOut = false;  // it was still running at the time limit, and was killed
  int status = -1;        // the exit status when it ended by itself; -1 otherwise
  int signal = 0;         // the signal that ended it; 0 when none did
  double seconds = 0;     // from the start to its end
  std::string out, err;   // what it wrote, captured or read back from the files named
};

// A started child, in a process group of its own so that ending it ends whatever it started too;
// ended (SIGTERM, then SIGKILL) when the object goes. It inherits every descriptor of this
// process not marked close-on-exec.
class Child {
 public:
  explicit Child(const std::vector<std::string>& argv, const ChildOptions& options = {});
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return run_.started; }
  bool Running();
  // Waits at most `seconds` for the child to end by itself; true when it has ended.
  bool Wait(double seconds);
  // Ends the child's process group: SIGTERM, then SIGKILL after five seconds.
  void Stop();
  // Kills the child's process group at once.
  void Kill();
  // How it ended (so far) and what it wrote, read now.
  ChildRun Result() const;

 private:
  void Reap(int wstatus);

  pid_t pid_ = -1;  // while it runs
  ChildRun run_;
  std::unique_ptr<TempDir> capture_;  // the input and captured output, when there are any
  std::filesystem::path out_, err_;   // where its output goes; err_ empty when into out_
  std::chrono::steady_clock::time_point start_;
};

// Runs the program to its end; one still running after `seconds` is killed with its process
// group.
ChildRun RunChild(const std::vector<std::string>& argv, const ChildOptions& options = {},
                  double seconds = 60);

// Whether `name` is an executable on PATH.
bool HaveProgram(const std::string& name);

}  // namespace mireval
