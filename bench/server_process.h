// glider-bench-server as a child process on a free loopback port.
#pragma once

#include <sys/types.h>

#include <string>

namespace glider::bench {

class ServerProcess {
 public:
  explicit ServerProcess(const std::string& program);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // 0 when the server did not come up.
  int Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace glider::bench
