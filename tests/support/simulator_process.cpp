#include "tests/support/simulator_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace glider::test {

SimulatorProcess::SimulatorProcess() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glider-sim-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return;
  dir_ = pattern;
  int out[2];
  if (pipe(out) != 0) return;
  std::string script = std::string(GLIDER_SOURCE_DIR) + "/tools/simulator/simulator.py";
  std::string log = dir_ + "/requests.jsonl";
  std::string sign = std::string(GLIDER_BINARY_DIR) + "/tools/glider-sign";
  pid_ = fork();
  if (pid_ == 0) {
    // Ends with the test, and keeps no descriptor of the test's output open.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::string errors = dir_ + "/simulator.err";
    int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err >= 0) dup2(err, 2);
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execlp("python3", "python3", script.c_str(), "--port", "0", "--log", log.c_str(), "--state-dir",
           dir_.c_str(), "--sign-tool", sign.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  // Read "listening on PORT" with a deadline.
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline && line.find('\n') == std::string::npos) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    char buf[256];
    ssize_t n = read(out[0], buf, sizeof(buf));
    if (n <= 0) break;
    line.append(buf, static_cast<size_t>(n));
  }
  close(out[0]);
  auto at = line.find("listening on ");
  if (at != std::string::npos) port_ = std::atoi(line.c_str() + at + 13);
}

SimulatorProcess::~SimulatorProcess() {
  Stop();
  std::error_code ec;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

void SimulatorProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

std::wstring SimulatorProcess::Url(const std::string& path) const {
  std::string url = "http://127.0.0.1:" + std::to_string(port_) + path;
  return std::wstring(url.begin(), url.end());
}

int SimulatorProcess::Get(const std::string& pathAndQuery) const {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port_));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int status = -1;
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
    std::string request = "GET " + pathAndQuery + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    if (send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
      char buf[64] = {};
      if (recv(fd, buf, sizeof(buf) - 1, 0) > 12) status = std::atoi(buf + 9);
    }
  }
  close(fd);
  return status;
}

std::vector<std::string> SimulatorProcess::Log() const {
  std::vector<std::string> lines;
  std::ifstream in(dir_ + "/requests.jsonl");
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> SimulatorProcess::LogLinesWith(const std::string& text) const {
  std::vector<std::string> out;
  for (auto& line : Log())
    if (line.find(text) != std::string::npos) out.push_back(line);
  return out;
}

}  // namespace glider::test
