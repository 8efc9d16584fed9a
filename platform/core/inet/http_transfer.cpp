#include "platform/core/inet/http_transfer.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/errhandlingapi.h"
#include "platform/wininet.h"

namespace glider::core {
namespace {

DWORD ErrorFromCurl(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_WEIRD_SERVER_REPLY:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_OUT_OF_MEMORY:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_INTERNET_CONNECTION_ABORTED;
  }
}

bool IsFollowedRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string Trim(std::string text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

}  // namespace

HttpTransfer::~HttpTransfer() { Release(); }

void HttpTransfer::Release() {
  CURLM* multi = static_cast<CURLM*>(multi_);
  CURL* easy = static_cast<CURL*>(easy_);
  if (multi != nullptr && easy != nullptr) curl_multi_remove_handle(multi, easy);
  if (easy != nullptr) curl_easy_cleanup(easy);
  if (multi != nullptr) curl_multi_cleanup(multi);
  curl_slist_free_all(static_cast<curl_slist*>(headerList_));
  easy_ = multi_ = headerList_ = nullptr;
}

bool HttpTransfer::Send(const TransferSettings& settings) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  Release();
  headersDone_ = done_ = paused_ = false;
  status_ = blockStatus_ = 0;
  result_ = CURLE_OK;
  headers_.clear();
  blockHeaders_.clear();
  buffered_.clear();
  readAt_ = 0;

  CURL* easy = curl_easy_init();
  CURLM* multi = curl_multi_init();
  easy_ = easy;
  multi_ = multi;
  if (easy == nullptr || multi == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  curl_slist* list = nullptr;
  for (const std::string& header : settings.headers) list = curl_slist_append(list, header.c_str());
  // WinINet sends no "Expect: 100-continue" with a body.
  list = curl_slist_append(list, "Expect:");
  headerList_ = list;

  curl_easy_setopt(easy, CURLOPT_URL, settings.url.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.agent.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpTransfer::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpTransfer::OnWrite);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  if (!settings.user.empty()) curl_easy_setopt(easy, CURLOPT_USERNAME, settings.user.c_str());
  if (!settings.password.empty()) curl_easy_setopt(easy, CURLOPT_PASSWORD, settings.password.c_str());
  if (settings.accessType == INTERNET_OPEN_TYPE_DIRECT) {
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
  } else if (settings.accessType == INTERNET_OPEN_TYPE_PROXY) {
    curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxy.c_str());
    if (!settings.proxyBypass.empty()) curl_easy_setopt(easy, CURLOPT_NOPROXY, settings.proxyBypass.c_str());
  }  // INTERNET_OPEN_TYPE_PRECONFIG: libcurl reads http_proxy and no_proxy itself.
  if (settings.verb == "GET") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else if (settings.verb == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else {
    if (settings.hasBody || settings.verb == "POST") {
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(settings.body.size()));
      curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, settings.body.c_str());
    }
    if (settings.verb != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, settings.verb.c_str());
  }
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
    SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return false;
  }
  receiveTimeoutMs_ = settings.receiveTimeoutMs;
  if (!WaitUntil([this] { return headersDone_; })) return false;
  if (!headersDone_) {
    SetLastError(result_ == CURLE_OK ? ERROR_HTTP_INVALID_SERVER_RESPONSE
                                     : ErrorFromCurl(static_cast<CURLcode>(result_)));
    return false;
  }
  return true;
}

// Drives the transfer until `ready()` or the end of the transfer. False on a
// stop request or a time-out without data, with the last error set.
template <typename Ready>
bool HttpTransfer::WaitUntil(Ready ready) {
  CURLM* multi = static_cast<CURLM*>(multi_);
  InternetWaitScope scope(multi);
  lastData_ = std::chrono::steady_clock::now();
  while (!ready() && !done_) {
    if (InternetStopRequested()) {
      SetLastError(ERROR_INTERNET_OPERATION_CANCELLED);
      return false;
    }
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
      return false;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        done_ = true;
        result_ = message->data.result;
      }
    }
    if (ready() || done_) break;
    auto idle =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - lastData_);
    if (idle.count() >= receiveTimeoutMs_) {
      SetLastError(ERROR_INTERNET_TIMEOUT);
      return false;
    }
    long wait = std::min<long>(receiveTimeoutMs_ - static_cast<long>(idle.count()), 1000);
    curl_multi_poll(multi, nullptr, 0, static_cast<int>(std::max<long>(wait, 1)), nullptr);
  }
  return true;
}

size_t HttpTransfer::OnHeader(char* data, size_t size, size_t count, void* raw) {
  auto* self = static_cast<HttpTransfer*>(raw);
  size_t length = size * count;
  self->lastData_ = std::chrono::steady_clock::now();
  std::string line(data, length);
  if (line.rfind("HTTP/", 0) == 0) {
    self->blockHeaders_.clear();
    size_t space = line.find(' ');
    self->blockStatus_ = space == std::string::npos ? 0 : std::strtol(line.c_str() + space + 1, nullptr, 10);
    return length;
  }
  if (line == "\r\n" || line == "\n") {
    bool location =
        std::any_of(self->blockHeaders_.begin(), self->blockHeaders_.end(),
                    [](const auto& header) { return strcasecmp(header.first.c_str(), "Location") == 0; });
    bool interim = self->blockStatus_ >= 100 && self->blockStatus_ < 200;
    if (!interim && !(IsFollowedRedirect(self->blockStatus_) && location)) {
      self->status_ = self->blockStatus_;
      self->headers_ = self->blockHeaders_;
      self->headersDone_ = true;
    }
    return length;
  }
  size_t colon = line.find(':');
  if (colon != std::string::npos) {
    self->blockHeaders_.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
  }
  return length;
}

size_t HttpTransfer::OnWrite(char* data, size_t size, size_t count, void* raw) {
  auto* self = static_cast<HttpTransfer*>(raw);
  size_t length = size * count;
  if (self->buffered_.size() - self->readAt_ >= kBufferLimit) {
    self->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  if (self->readAt_ > 0) {
    self->buffered_.erase(0, self->readAt_);
    self->readAt_ = 0;
  }
  self->buffered_.append(data, length);
  self->peakBuffered_ = std::max(self->peakBuffered_, self->buffered_.size());
  self->lastData_ = std::chrono::steady_clock::now();
  return length;
}

std::optional<std::string> HttpTransfer::Header(const std::string& name) const {
  for (const auto& [key, value] : headers_) {
    if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
  }
  return std::nullopt;
}

bool HttpTransfer::Read(char* buffer, DWORD size, DWORD* bytesRead) {
  DWORD copied = 0;
  *bytesRead = 0;
  while (copied < size) {
    size_t available = buffered_.size() - readAt_;
    if (available > 0) {
      size_t take = std::min<size_t>(available, size - copied);
      std::memcpy(buffer + copied, buffered_.data() + readAt_, take);
      readAt_ += take;
      copied += static_cast<DWORD>(take);
      if (readAt_ == buffered_.size()) {
        buffered_.clear();
        readAt_ = 0;
      }
      continue;
    }
    if (done_) break;
    if (paused_) {
      paused_ = false;  // the write callback may pause again from inside curl_easy_pause
      curl_easy_pause(static_cast<CURL*>(easy_), CURLPAUSE_CONT);
    }
    if (!WaitUntil([this] { return buffered_.size() > readAt_; })) {
      *bytesRead = copied;
      return copied > 0;
    }
  }
  *bytesRead = copied;
  // A body cut short (CURLE_PARTIAL_FILE) ends like a complete one, as in WinINet.
  bool failed = done_ && result_ != CURLE_OK && result_ != CURLE_PARTIAL_FILE;
  if (failed && copied == 0) {
    SetLastError(ErrorFromCurl(static_cast<CURLcode>(result_)));
    return false;
  }
  return true;
}

}  // namespace glider::core
