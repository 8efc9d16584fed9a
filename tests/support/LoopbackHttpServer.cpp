#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace glider::test {
namespace {

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    default:
      return "Status";
  }
}

bool SendAll(int socket, const char* data, size_t length) {
  while (length > 0) {
    ssize_t sent = send(socket, data, length, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    length -= static_cast<size_t>(sent);
  }
  return true;
}

// Reads the request head and a body of its Content-Length.
bool ReadRequest(int socket, HttpRequest& request) {
  std::string data;
  char chunk[4096];
  size_t headEnd;
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    ssize_t got = recv(socket, chunk, sizeof(chunk), 0);
    if (got <= 0 || data.size() > 65536) return false;
    data.append(chunk, static_cast<size_t>(got));
  }
  std::string head = data.substr(0, headEnd);
  size_t lineEnd = head.find("\r\n");
  std::string line = head.substr(0, lineEnd);
  size_t space1 = line.find(' ');
  size_t space2 = line.rfind(' ');
  if (space1 == std::string::npos || space2 == space1) return false;
  request.method = line.substr(0, space1);
  request.target = line.substr(space1 + 1, space2 - space1 - 1);
  request.headers = lineEnd == std::string::npos ? "" : head.substr(lineEnd + 2);
  size_t length = 0;
  std::string lower = request.headers;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  size_t at = lower.find("content-length:");
  if (at != std::string::npos) length = std::strtoul(lower.c_str() + at + 15, nullptr, 10);
  request.body = data.substr(headEnd + 4);
  while (request.body.size() < length) {
    ssize_t got = recv(socket, chunk, sizeof(chunk), 0);
    if (got <= 0) return false;
    request.body.append(chunk, static_cast<size_t>(got));
  }
  return true;
}

}  // namespace

std::string PatternBody(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
  return body;
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
  int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof(address);
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener, kMaxConnections) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      pipe2(wakePipe_, O_CLOEXEC) != 0) {
    if (listener >= 0) close(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (wakePipe_[1] >= 0) {
    char byte = 0;
    [[maybe_unused]] ssize_t n = write(wakePipe_[1], &byte, 1);
  }
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  if (listener_ >= 0) close(listener_);
  for (int fd : wakePipe_) {
    if (fd >= 0) close(fd);
  }
}

std::wstring LoopbackHttpServer::Url(const std::string& pathAndQuery) const {
  std::string url = "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
  return std::wstring(url.begin(), url.end());
}

std::vector<HttpRequest> LoopbackHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool LoopbackHttpServer::WaitForRequests(size_t count, std::chrono::milliseconds deadline) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, deadline, [&] { return requests_.size() >= count; });
}

bool LoopbackHttpServer::WaitForStalls(int count, std::chrono::milliseconds deadline) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, deadline, [&] { return stalled_ >= count; });
}

void LoopbackHttpServer::ReleaseStalls() {
  {
    std::lock_guard lock(mutex_);
    released_ = true;
  }
  changed_.notify_all();
}

void LoopbackHttpServer::AcceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::unique_lock lock(mutex_);
    if (stopping_ || active_ >= kMaxConnections) {
      close(client);
      continue;
    }
    ++active_;
    connections_.emplace_back([this, client] { Serve(client); });
  }
}

void LoopbackHttpServer::Serve(int socket) {
  timeval timeout{5, 0};  // a silent client cannot hold a thread for long
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
  HttpRequest request;
  if (ReadRequest(socket, request)) {
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    changed_.notify_all();
    HttpResponse response = handler_(request);
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n";
    if (response.sendLength) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    for (const std::string& header : response.headers) head += header + "\r\n";
    head += "Connection: close\r\n\r\n";
    size_t bodyBytes = std::min(response.sendBytes, response.body.size());
    if (SendAll(socket, head.data(), head.size())) SendAll(socket, response.body.data(), bodyBytes);
    if (response.stall) {
      std::unique_lock lock(mutex_);
      ++stalled_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return stopping_ || released_; });
      --stalled_;
    }
  }
  shutdown(socket, SHUT_RDWR);
  close(socket);
  std::lock_guard lock(mutex_);
  --active_;
}

}  // namespace glider::test
