#include "bench/child_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace glider::bench {

ChildRun RunChild(const std::vector<std::string>& argv, bool quiet) {
  ChildRun run;
  if (argv.empty()) return run;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    if (quiet) {
      int null = open("/dev/null", O_WRONLY);
      if (null >= 0) dup2(null, STDOUT_FILENO);
    }
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  pid_t reaped;
  do {
    reaped = wait4(pid, &status, 0, &usage);
  } while (reaped < 0 && errno == EINTR);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (reaped != pid) return run;
  run.started = !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakRssKb = usage.ru_maxrss;
  return run;
}

}  // namespace glider::bench
