// glider-bench-server: a loopback HTTP server for the download benchmarks.
// GET /bytes?size=N answers N bytes with a Content-Length, streamed from one
// small buffer so the body never sits in memory. Prints "listening on PORT"
// once it accepts connections; runs until it is killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr size_t kChunk = 256 * 1024;

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

// The size parameter of the request line, or -1.
long long RequestedSize(const std::string& head) {
  size_t lineEnd = head.find("\r\n");
  std::string line = head.substr(0, lineEnd);
  if (line.rfind("GET /bytes?", 0) != 0) return -1;
  size_t at = line.find("size=");
  if (at == std::string::npos) return -1;
  char* end = nullptr;
  long long size = std::strtoll(line.c_str() + at + 5, &end, 10);
  return end != line.c_str() + at + 5 && size >= 0 ? size : -1;
}

void Serve(int fd, const char* pattern) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    head.append(buffer, static_cast<size_t>(got));
  }
  long long size = RequestedSize(head);
  if (size < 0) {
    static const char kNotFound[] =
        "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    SendAll(fd, kNotFound, sizeof(kNotFound) - 1);
  } else {
    std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                         std::to_string(size) + "\r\nConnection: close\r\n\r\n";
    bool ok = SendAll(fd, answer.data(), answer.size());
    for (long long left = size; ok && left > 0;) {
      size_t piece = left < static_cast<long long>(kChunk) ? static_cast<size_t>(left) : kChunk;
      ok = SendAll(fd, pattern, piece);
      left -= static_cast<long long>(piece);
    }
  }
  close(fd);
}

}  // namespace

int main() {
  static char pattern[kChunk];
  for (size_t i = 0; i < kChunk; ++i) pattern[i] = static_cast<char>('a' + i % 26);

  int listener = socket(AF_INET, SOCK_STREAM, 0);
  if (listener < 0) return 1;
  int on = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener, 16) != 0)
    return 1;
  socklen_t length = sizeof(address);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  std::printf("listening on %d\n", ntohs(address.sin_port));
  std::fflush(stdout);
  for (;;) {
    int fd = accept(listener, nullptr, nullptr);
    if (fd < 0) continue;
    std::thread(Serve, fd, pattern).detach();
  }
}
