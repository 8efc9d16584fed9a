// The session, connection and request objects behind HINTERNET values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/inet/http_transfer.h"
#include "platform/core/kernel/kernel_object.h"
#include "platform/wininet.h"

namespace glider::core {

class InternetObject : public KernelObject {
 public:
  enum class Type { kSession, kConnection, kRequest };
  explicit InternetObject(Type type) : KernelObject(Kind::kInternet), type_(type) {}
  Type type() const { return type_; }

 private:
  Type type_;
};

struct InternetSession : InternetObject {
  InternetSession() : InternetObject(Type::kSession) {}
  std::string agent;
  DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG;
  std::string proxy;
  std::string proxyBypass;
  long connectTimeoutMs = 60000;
  long receiveTimeoutMs = 60000;
};

struct InternetConnection : InternetObject {
  InternetConnection() : InternetObject(Type::kConnection) {}
  std::shared_ptr<InternetSession> session;
  std::string host;
  INTERNET_PORT port = 0;
  std::string user;
  std::string password;
};

struct InternetRequest : InternetObject {
  InternetRequest() : InternetObject(Type::kRequest) {}
  std::shared_ptr<InternetConnection> connection;
  std::string verb;
  std::string path;
  std::vector<std::string> headers;  // "Name: value", no line end
  HttpTransfer transfer;
};

}  // namespace glider::core
