// The WinINet functions over InternetSession, InternetConnection and InternetRequest.
#include <algorithm>
#include <cctype>
#include <cwchar>

#include "platform/core/inet/inet_objects.h"
#include "platform/core/kernel/wide_text.h"
#include "platform/errhandlingapi.h"
#include "platform/wininet.h"

using glider::core::InternetConnection;
using glider::core::InternetObject;
using glider::core::InternetRequest;
using glider::core::InternetSession;
using glider::core::KernelObject;

namespace {

template <typename T>
std::shared_ptr<T> Lookup(HINTERNET handle, InternetObject::Type type) {
  auto object = glider::core::LookupHandleAs<InternetObject>(handle, KernelObject::Kind::kInternet);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (object->type() != type) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  return std::static_pointer_cast<T>(object);
}

std::string Narrow(LPCWSTR text) {
  return text != nullptr ? glider::core::WideToUtf8(std::wstring_view(text)) : "";
}

HINTERNET Insert(std::shared_ptr<InternetObject> object) {
  HINTERNET handle = glider::core::InsertHandle(std::move(object));
  if (handle == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

// Percent-encodes the bytes HTTP cannot carry; everything else goes as given.
std::string EncodeForRequest(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string HeaderName(const std::string& line) { return line.substr(0, line.find(':')); }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Adds header lines; libcurl wants them without their "\r\n".
bool AddHeaders(std::vector<std::string>& list, LPCWSTR headers, DWORD length, DWORD modifiers) {
  if (headers == nullptr) return true;
  size_t count = length == static_cast<DWORD>(-1) ? wcslen(headers) : length;
  std::string text = glider::core::WideToUtf8(std::wstring_view(headers, count));
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    start = end + 1;
    if (line.empty()) continue;
    if (line.find(':') == std::string::npos) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    std::string name = HeaderName(line);
    auto existing = std::find_if(list.begin(), list.end(), [&](const std::string& header) {
      return SameName(HeaderName(header), name);
    });
    bool replace = (modifiers & HTTP_ADDREQ_FLAG_REPLACE) != 0;
    if (existing != list.end() && replace) {
      *existing = line;
    } else if (existing != list.end() && (modifiers & HTTP_ADDREQ_FLAG_ADD_IF_NEW) != 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    } else if (!replace || (modifiers & HTTP_ADDREQ_FLAG_ADD) != 0) {
      list.push_back(line);  // REPLACE alone does not add a header that is missing
    }
  }
  return true;
}

BOOL StoreText(const std::string& value, LPVOID buffer, LPDWORD bufferLength) {
  std::wstring wide = glider::core::Utf8ToWide(value);
  DWORD needed = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  if (buffer == nullptr || *bufferLength < needed) {
    *bufferLength = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  wmemcpy(static_cast<wchar_t*>(buffer), wide.c_str(), wide.size() + 1);
  *bufferLength = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
  return TRUE;
}

}  // namespace

HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR proxyBypass, DWORD flags) {
  if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
      accessType != INTERNET_OPEN_TYPE_PROXY) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (flags != 0) {  // asynchronous and offline modes are not supported
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto session = std::make_shared<InternetSession>();
  session->agent = Narrow(agent);
  session->accessType = accessType;
  session->proxy = Narrow(proxy);
  session->proxyBypass = Narrow(proxyBypass);
  return Insert(session);
}

HINTERNET InternetConnectW(HINTERNET internet, LPCWSTR serverName, INTERNET_PORT serverPort, LPCWSTR userName,
                           LPCWSTR password, DWORD service, DWORD flags, DWORD_PTR context) {
  auto session = Lookup<InternetSession>(internet, InternetObject::Type::kSession);
  if (!session) return nullptr;
  if (service != INTERNET_SERVICE_HTTP || serverName == nullptr || *serverName == L'\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto connection = std::make_shared<InternetConnection>();
  connection->session = session;
  connection->host = Narrow(serverName);
  connection->port = serverPort == INTERNET_INVALID_PORT_NUMBER ? INTERNET_DEFAULT_HTTP_PORT : serverPort;
  connection->user = Narrow(userName);
  connection->password = Narrow(password);
  return Insert(connection);
}

HINTERNET HttpOpenRequestW(HINTERNET connect, LPCWSTR verb, LPCWSTR objectName, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* acceptTypes, DWORD flags, DWORD_PTR context) {
  auto connection = Lookup<InternetConnection>(connect, InternetObject::Type::kConnection);
  if (!connection) return nullptr;
  auto request = std::make_shared<InternetRequest>();
  request->connection = connection;
  request->verb = verb != nullptr && *verb != L'\0' ? Narrow(verb) : "GET";
  request->path = Narrow(objectName);
  if (request->path.empty() || request->path.front() != '/') request->path.insert(0, "/");
  if (referrer != nullptr && *referrer != L'\0') request->headers.push_back("Referer: " + Narrow(referrer));
  return Insert(request);
}

BOOL HttpAddRequestHeadersW(HINTERNET request, LPCWSTR headers, DWORD length, DWORD modifiers) {
  auto object = Lookup<InternetRequest>(request, InternetObject::Type::kRequest);
  if (!object) return FALSE;
  return AddHeaders(object->headers, headers, length, modifiers) ? TRUE : FALSE;
}

BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength) {
  auto object = Lookup<InternetRequest>(request, InternetObject::Type::kRequest);
  if (!object) return FALSE;
  std::vector<std::string> allHeaders = object->headers;
  if (!AddHeaders(allHeaders, headers, headersLength, HTTP_ADDREQ_FLAG_ADD)) return FALSE;
  const InternetConnection& connection = *object->connection;
  const InternetSession& session = *connection.session;
  glider::core::TransferSettings settings;
  settings.url = "http://" + EncodeForRequest(connection.host) + ":" + std::to_string(connection.port) +
                 EncodeForRequest(object->path);
  settings.verb = object->verb;
  settings.agent = session.agent;
  settings.headers = std::move(allHeaders);
  settings.hasBody = optional != nullptr;
  if (optional != nullptr) settings.body.assign(static_cast<const char*>(optional), optionalLength);
  settings.accessType = session.accessType;
  settings.proxy = session.proxy;
  settings.proxyBypass = session.proxyBypass;
  settings.user = connection.user;
  settings.password = connection.password;
  settings.connectTimeoutMs = session.connectTimeoutMs;
  settings.receiveTimeoutMs = session.receiveTimeoutMs;
  return object->transfer.Send(settings) ? TRUE : FALSE;
}

BOOL HttpQueryInfoW(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD index) {
  auto object = Lookup<InternetRequest>(request, InternetObject::Type::kRequest);
  if (!object) return FALSE;
  if (bufferLength == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const glider::core::HttpTransfer& transfer = object->transfer;
  if (!transfer.Sent()) {
    SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
    return FALSE;
  }
  bool number = (infoLevel & HTTP_QUERY_FLAG_NUMBER) != 0;
  std::optional<std::string> value;
  switch (infoLevel & 0xFFFF) {
    case HTTP_QUERY_STATUS_CODE:
      value = std::to_string(transfer.status());
      break;
    case HTTP_QUERY_CONTENT_LENGTH:
      value = transfer.Header("Content-Length");
      break;
    case HTTP_QUERY_CONTENT_TYPE:
      value = transfer.Header("Content-Type");
      break;
    case HTTP_QUERY_LOCATION:
      value = transfer.Header("Location");
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  if (!value) {
    SetLastError(ERROR_HTTP_HEADER_NOT_FOUND);
    return FALSE;
  }
  if (!number) return StoreText(*value, buffer, bufferLength);
  if (buffer == nullptr || *bufferLength < sizeof(DWORD)) {
    *bufferLength = sizeof(DWORD);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  // Digits only, and within 32 bits: anything else is not a number.
  uint64_t parsed = 0;
  if (value->empty()) {
    SetLastError(ERROR_HTTP_INVALID_SERVER_RESPONSE);
    return FALSE;
  }
  for (char c : *value) {
    if (c < '0' || c > '9' || (parsed = parsed * 10 + static_cast<uint64_t>(c - '0')) > 0xFFFFFFFFu) {
      SetLastError(ERROR_HTTP_INVALID_SERVER_RESPONSE);
      return FALSE;
    }
  }
  *static_cast<DWORD*>(buffer) = static_cast<DWORD>(parsed);
  *bufferLength = sizeof(DWORD);
  return TRUE;
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  auto object = Lookup<InternetRequest>(file, InternetObject::Type::kRequest);
  if (!object) return FALSE;
  if (bytesRead == nullptr || (buffer == nullptr && bytesToRead > 0) || !object->transfer.Sent()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return object->transfer.Read(static_cast<char*>(buffer), bytesToRead, bytesRead) ? TRUE : FALSE;
}

BOOL InternetSetOptionW(HINTERNET internet, DWORD option, LPVOID buffer, DWORD bufferLength) {
  auto session = Lookup<InternetSession>(internet, InternetObject::Type::kSession);
  if (!session) return FALSE;
  if (buffer == nullptr || bufferLength < sizeof(DWORD)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD value = *static_cast<const DWORD*>(buffer);
  if (option == INTERNET_OPTION_CONNECT_TIMEOUT) {
    session->connectTimeoutMs = value;
  } else if (option == INTERNET_OPTION_RECEIVE_TIMEOUT) {
    session->receiveTimeoutMs = value;
  } else {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return FALSE;
  }
  return TRUE;
}

BOOL InternetCloseHandle(HINTERNET internet) {
  if (!glider::core::RemoveHandle(internet, KernelObject::Kind::kInternet, false)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
