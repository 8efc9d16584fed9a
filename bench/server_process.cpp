#include "bench/server_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace glider::bench {

ServerProcess::ServerProcess(const std::string& program) {
  int out[2];
  if (pipe(out) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  // Reads the "listening on PORT" line, giving up after ten seconds without output.
  std::string line;
  pollfd ready{out[0], POLLIN, 0};
  while (pid_ > 0 && line.find('\n') == std::string::npos && poll(&ready, 1, 10000) > 0) {
    char buffer[64];
    ssize_t got = read(out[0], buffer, sizeof(buffer));
    if (got <= 0) break;
    line.append(buffer, static_cast<size_t>(got));
  }
  close(out[0]);
  if (std::sscanf(line.c_str(), "listening on %d", &port_) != 1) port_ = 0;
}

ServerProcess::~ServerProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

}  // namespace glider::bench
