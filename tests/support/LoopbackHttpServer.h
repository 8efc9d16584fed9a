// A small HTTP/1.1 server on 127.0.0.1 for tests: one thread per connection
// (at most kMaxConnections at once), each answered by a handler and closed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace glider::test {

struct HttpRequest {
  std::string method;
  std::string target;   // as sent on the request line
  std::string headers;  // the raw header lines
  std::string body;
};

struct HttpResponse {
  int status = 200;
  std::string body;
  bool sendLength = true;                // a Content-Length header for the whole body
  size_t sendBytes = std::string::npos;  // send only this much of the body, then close
  bool stall = false;                    // after sending, hold the connection until ReleaseStalls or the end
  std::vector<std::string> headers;      // further header lines, without "\r\n"
};

class LoopbackHttpServer {
 public:
  static constexpr int kMaxConnections = 16;
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  explicit LoopbackHttpServer(Handler handler);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  bool ok() const { return listener_ >= 0; }
  int port() const { return port_; }
  std::wstring Url(const std::string& pathAndQuery) const;
  std::vector<HttpRequest> Requests() const;
  // Waits until `count` requests have arrived; false at the deadline.
  bool WaitForRequests(size_t count, std::chrono::milliseconds deadline = std::chrono::seconds(10)) const;
  // Waits until `count` connections are held stalled; false at the deadline.
  bool WaitForStalls(int count, std::chrono::milliseconds deadline = std::chrono::seconds(10)) const;
  void ReleaseStalls();

 private:
  void AcceptLoop();
  void Serve(int socket);

  Handler handler_;
  int listener_ = -1;
  int wakePipe_[2] = {-1, -1};
  int port_ = 0;
  std::thread acceptor_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<HttpRequest> requests_;
  std::vector<std::thread> connections_;
  int active_ = 0;
  int stalled_ = 0;
  bool released_ = false;
  bool stopping_ = false;
};

// A body of `size` bytes whose contents show their offsets.
std::string PatternBody(size_t size);

}  // namespace glider::test
