// The platform simulator as a subprocess of a C++ test, on a free loopback port.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace glider::test {

class SimulatorProcess {
 public:
  // Starts tools/simulator/simulator.py; Port() is 0 when it did not come up.
  SimulatorProcess();
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  int Port() const { return port_; }
  std::wstring Url(const std::string& path) const;
  // A GET to the simulator; returns the status code, -1 when it could not be sent.
  int Get(const std::string& pathAndQuery) const;
  // The request log, one JSON line per request.
  std::vector<std::string> Log() const;
  std::vector<std::string> LogLinesWith(const std::string& text) const;
  std::string StateDir() const { return dir_; }
  void Stop();

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string dir_;
};

}  // namespace glider::test
