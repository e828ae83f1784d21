#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "support/temp_files.h"

extern char** environ;

namespace fs = std::filesystem;

namespace mireval {

namespace {

std::string FindOnPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return fs::absolute(name).string();
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (::access((dir + "/" + name).c_str(), X_OK) == 0) return dir + "/" + name;
  return "";
}

std::vector<std::string> Environment(const ChildOptions& options) {
  std::vector<std::string> out;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e, name = entry.substr(0, entry.find('='));
    if (!options.env.contains(name) && std::ranges::count(options.unsetEnv, name) == 0)
      out.push_back(entry);
  }
  for (const auto& [k, v] : options.env) out.push_back(k + "=" + v);
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// In the child, between fork and exec, where only async-signal-safe calls are allowed: opens
// `file` onto descriptor `fd`.
bool Redirect(const char* file, int flags, int fd) {
  const int opened = ::open(file, flags, 0644);
  return opened >= 0 && (opened == fd || (::dup2(opened, fd) == fd && ::close(opened) == 0));
}

}  // namespace

Child::Child(const std::vector<std::string>& argv, const ChildOptions& options)
    : start_(std::chrono::steady_clock::now()) {
  if (argv.empty()) return;
  const bool captureOut = options.out.empty();
  const bool captureErr = options.err.empty() && !options.errToOut;
  if (captureOut || captureErr || !options.input.empty()) capture_ = std::make_unique<TempDir>();
  fs::path in = options.in.empty() ? fs::path("/dev/null") : options.in;
  if (options.in.empty() && !options.input.empty()) {
    in = capture_->path() / "in";
    WriteRaw(in, options.input);
  }
  out_ = captureOut ? capture_->path() / "out" : options.out;
  if (!options.errToOut) err_ = captureErr ? capture_->path() / "err" : options.err;
  const std::string inFile = in.string(), outFile = out_.string(), errFile = err_.string();
  const std::string cwd = options.cwd.string();

  // Everything the child needs is made here: after fork it may not allocate.
  const std::string program = FindOnPath(argv[0]);
  std::vector<std::string> args = argv, env = Environment(options);
  std::vector<char*> argp = Pointers(args), envp = Pointers(env);
  rlimit stack{};
  ::getrlimit(RLIMIT_STACK, &stack);
  if (options.stackKb > 0)
    stack.rlim_cur = std::min<rlim_t>(options.stackKb * 1024, stack.rlim_max);

  // The child writes why it could not start into this pipe; exec closes it, so an empty read
  // means the program runs.
  int report[2];
  if (program.empty() || ::pipe2(report, O_CLOEXEC) != 0) return;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    bool ok = Redirect(inFile.c_str(), O_RDONLY, 0) && Redirect(outFile.c_str(), flags, 1) &&
              (options.errToOut ? ::dup2(1, 2) == 2 : Redirect(errFile.c_str(), flags, 2)) &&
              (cwd.empty() || ::chdir(cwd.c_str()) == 0) &&
              (options.stackKb == 0 || ::setrlimit(RLIMIT_STACK, &stack) == 0);
    if (ok) ::execve(program.c_str(), argp.data(), envp.data());
    const int error = errno;
    [[maybe_unused]] const ssize_t n = ::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(report[1]);
  int error = 0;
  ssize_t n = -1;
  while (pid > 0 && (n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  pid_ = pid;
  run_.started = n == 0;
  if (n > 0) Kill();  // reaps the child that could not run the program
}

Child::~Child() {
  Stop();
}

void Child::Reap(int wstatus) {
  run_.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  if (WIFEXITED(wstatus)) run_.status = WEXITSTATUS(wstatus);
  if (WIFSIGNALED(wstatus)) run_.signal = WTERMSIG(wstatus);
  pid_ = -1;
}

bool Child::Running() {
  if (pid_ <= 0) return false;
  int wstatus = 0;
  if (::waitpid(pid_, &wstatus, WNOHANG) != pid_) return true;
  Reap(wstatus);
  return false;
}

bool Child::Wait(double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  // Short naps first: most children of the tests end within milliseconds.
  auto nap = std::chrono::microseconds(200);
  while (Running()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(nap);
    nap = std::min(nap * 2, std::chrono::microseconds(20000));
  }
  return true;
}

void Child::Stop() {
  if (!Running()) return;
  ::kill(-pid_, SIGTERM);
  if (!Wait(5)) Kill();
}

void Child::Kill() {
  if (!Running()) return;
  ::kill(-pid_, SIGKILL);
  int wstatus = 0;
  ::waitpid(pid_, &wstatus, 0);
  Reap(wstatus);
}

ChildRun Child::Result() const {
  ChildRun run = run_;
  if (!out_.empty()) run.out = ReadRaw(out_);
  if (!err_.empty()) run.err = ReadRaw(err_);
  return run;
}

ChildRun RunChild(const std::vector<std::string>& argv, const ChildOptions& options,
                  double seconds) {
  Child child(argv, options);
  const bool late = child.Started() && !child.Wait(seconds);
  if (late) child.Kill();
  ChildRun run = child.Result();
  run.timedOut = late;
  return run;
}

bool HaveProgram(const std::string& name) {
  return !FindOnPath(name).empty();
}

}  // namespace mireval
