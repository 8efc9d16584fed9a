// One HTTP exchange over libcurl: one easy handle and one multi handle,
// driven on the calling thread. The body is buffered only up to a block:
// beyond that the transfer is paused until the caller reads.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/windef.h"

namespace glider::core {

struct TransferSettings {
  std::string url;
  std::string verb;
  std::string agent;
  std::vector<std::string> headers;
  std::string body;
  bool hasBody = false;
  DWORD accessType = 0;
  std::string proxy;
  std::string proxyBypass;
  std::string user;
  std::string password;
  long connectTimeoutMs = 60000;
  long receiveTimeoutMs = 60000;
};

class HttpTransfer {
 public:
  static constexpr size_t kBufferLimit = 16384;
  static constexpr long kMaxRedirects = 10;

  HttpTransfer() = default;
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Sends the request and waits for the final response's headers. On failure
  // returns false with the last error set.
  bool Send(const TransferSettings& settings);
  bool Sent() const { return headersDone_; }
  long status() const { return status_; }
  // The final response's header named `name` (case-insensitive).
  std::optional<std::string> Header(const std::string& name) const;
  // Fills `buffer` unless the body ends; false with the last error set on failure.
  bool Read(char* buffer, DWORD size, DWORD* bytesRead);
  // The most the body buffer has held (for tests of the memory bound).
  size_t PeakBuffered() const { return peakBuffered_; }

 private:
  template <typename Ready>
  bool WaitUntil(Ready ready);
  void Release();
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnWrite(char* data, size_t size, size_t count, void* self);

  void* easy_ = nullptr;
  void* multi_ = nullptr;
  void* headerList_ = nullptr;
  long receiveTimeoutMs_ = 60000;
  std::chrono::steady_clock::time_point lastData_;
  bool headersDone_ = false;
  bool done_ = false;
  int result_ = 0;
  bool paused_ = false;
  long status_ = 0;
  long blockStatus_ = 0;
  std::vector<std::pair<std::string, std::string>> blockHeaders_;
  std::vector<std::pair<std::string, std::string>> headers_;
  std::string buffered_;
  size_t readAt_ = 0;
  size_t peakBuffered_ = 0;
};

// The stop flag bound to the calling thread, and whether it is set.
bool InternetStopRequested();

// Registers a wait on `multi` for WakeInternetCalls while it lives.
class InternetWaitScope {
 public:
  explicit InternetWaitScope(void* multi);
  ~InternetWaitScope();
  InternetWaitScope(const InternetWaitScope&) = delete;
  InternetWaitScope& operator=(const InternetWaitScope&) = delete;

 private:
  const volatile LONG* flag_;
  void* multi_;
};

}  // namespace glider::core
