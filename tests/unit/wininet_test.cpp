#include "platform/wininet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/core/inet/inet_objects.h"
#include "platform/core/inet/inet_stop.h"
#include "platform/errhandlingapi.h"
#include "tests/support/LoopbackHttpServer.h"

namespace {

using glider::test::HttpRequest;
using glider::test::HttpResponse;
using glider::test::LoopbackHttpServer;

struct CrackBuffers {
  wchar_t host[1024], user[256], password[256], path[1024];
  URL_COMPONENTSW parts{};
  CrackBuffers(DWORD hostSize = 1024, DWORD pathSize = 1024) {
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = hostSize;
    parts.lpszUserName = user;
    parts.dwUserNameLength = 256;
    parts.lpszPassword = password;
    parts.dwPasswordLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = pathSize;
  }
};

TEST(InternetCrackUrl, SplitsWithoutDecoding) {
  struct Case {
    const wchar_t* url;
    const wchar_t* host;
    INTERNET_PORT port;
    const wchar_t* user;
    const wchar_t* password;
    const wchar_t* path;
  } cases[] = {
      {L"http://example.com/dir/app.ini", L"example.com", 80, L"", L"", L"/dir/app.ini"},
      {L"http://127.0.0.1:8730/ps.gif?id=38&a=%20b", L"127.0.0.1", 8730, L"", L"", L"/ps.gif?id=38&a=%20b"},
      {L"https://u:p@host.test/x", L"host.test", 443, L"u", L"p", L"/x"},
      {L"http://host", L"host", 80, L"", L"", L""},
      {L"http://[::1]:81/a", L"[::1]", 81, L"", L"", L"/a"},
  };
  for (const Case& c : cases) {
    CrackBuffers b;
    ASSERT_TRUE(InternetCrackUrlW(c.url, 0, 0, &b.parts)) << c.url;
    EXPECT_STREQ(b.host, c.host);
    EXPECT_EQ(b.parts.nPort, c.port);
    EXPECT_STREQ(b.user, c.user);
    EXPECT_STREQ(b.password, c.password);
    EXPECT_STREQ(b.path, c.path);
    EXPECT_EQ(b.parts.dwUrlPathLength, wcslen(c.path));
  }
}

TEST(InternetCrackUrl, RefusesBadUrlsAndPartsTooLong) {
  for (const wchar_t* url : {L"no scheme", L"http://:80/x", L"http://h:99999/", L"http://h:8a/"}) {
    CrackBuffers b;
    EXPECT_FALSE(InternetCrackUrlW(url, 0, 0, &b.parts)) << url;
  }
  // A part that fills its buffer exactly with its terminator fits; one more character is refused.
  std::wstring host(9, L'h');
  CrackBuffers fits(10);
  EXPECT_TRUE(InternetCrackUrlW((L"http://" + host + L"/p").c_str(), 0, 0, &fits.parts));
  CrackBuffers tooLong(10);
  tooLong.path[0] = L'#';
  EXPECT_FALSE(InternetCrackUrlW((L"http://" + host + L"h/p").c_str(), 0, 0, &tooLong.parts));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(tooLong.path[0], L'#');  // nothing copied
  CrackBuffers longPath(1024, 4);
  EXPECT_FALSE(InternetCrackUrlW(L"http://h/abcd", 0, 0, &longPath.parts));
}

// A request through the whole API; closes everything it opened.
struct Exchange {
  HINTERNET root = nullptr, connection = nullptr, request = nullptr;
  Exchange(const LoopbackHttpServer& server, const wchar_t* path, const wchar_t* verb = L"GET") {
    root = InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    connection = InternetConnectW(root, L"127.0.0.1", static_cast<INTERNET_PORT>(server.port()), nullptr,
                                  nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    request = HttpOpenRequestW(connection, verb, path, nullptr, nullptr, nullptr, 0, 0);
  }
  ~Exchange() {
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(root);
  }
  bool Query(DWORD what, DWORD* value) {
    DWORD size = sizeof(*value);
    return HttpQueryInfoW(request, what | HTTP_QUERY_FLAG_NUMBER, value, &size, nullptr) != FALSE;
  }
  std::vector<DWORD> ReadSizes(DWORD block) {
    std::vector<char> buffer(block);
    std::vector<DWORD> sizes;
    DWORD read = 0;
    do {
      if (!InternetReadFile(request, buffer.data(), block, &read)) {
        sizes.push_back(static_cast<DWORD>(-1));
        break;
      }
      sizes.push_back(read);
    } while (read > 0);
    return sizes;
  }
};

TEST(WinInet, StatusAndContentLengthAbsentOrZero) {
  LoopbackHttpServer server([](const HttpRequest& r) {
    HttpResponse response;
    if (r.target == "/none") response.sendLength = false;
    if (r.target == "/missing") response.status = 404;
    response.body = r.target == "/zero" ? "" : "body";
    return response;
  });
  ASSERT_TRUE(server.ok());
  DWORD value = 7;
  Exchange zero(server, L"/zero");
  ASSERT_TRUE(HttpSendRequestW(zero.request, nullptr, 0, nullptr, 0));
  EXPECT_TRUE(zero.Query(HTTP_QUERY_CONTENT_LENGTH, &value));
  EXPECT_EQ(value, 0u);
  Exchange none(server, L"/none");
  ASSERT_TRUE(HttpSendRequestW(none.request, nullptr, 0, nullptr, 0));
  EXPECT_FALSE(none.Query(HTTP_QUERY_CONTENT_LENGTH, &value));
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
  EXPECT_EQ(none.ReadSizes(100), (std::vector<DWORD>{4, 0}));
  Exchange missing(server, L"/missing");
  ASSERT_TRUE(HttpSendRequestW(missing.request, nullptr, 0, nullptr, 0));
  EXPECT_TRUE(missing.Query(HTTP_QUERY_STATUS_CODE, &value));
  EXPECT_EQ(value, 404u);
}

TEST(WinInet, ReadFillsBufferAndKeepsMemoryBounded) {
  const std::string body = glider::test::PatternBody(300000);
  LoopbackHttpServer server([&](const HttpRequest& r) {
    HttpResponse response;
    response.body = r.target == "/big" ? body : glider::test::PatternBody(25000);
    return response;
  });
  Exchange small(server, L"/small");
  ASSERT_TRUE(HttpSendRequestW(small.request, nullptr, 0, nullptr, 0));
  EXPECT_EQ(small.ReadSizes(10240), (std::vector<DWORD>{10240, 10240, 4520, 0}));

  Exchange big(server, L"/big");
  ASSERT_TRUE(HttpSendRequestW(big.request, nullptr, 0, nullptr, 0));
  std::string received;
  char buffer[10240];
  DWORD read = 0;
  while (InternetReadFile(big.request, buffer, sizeof(buffer), &read) && read > 0)
    received.append(buffer, read);
  EXPECT_EQ(received, body);
  auto object = glider::core::LookupHandleAs<glider::core::InternetRequest>(
      big.request, glider::core::KernelObject::Kind::kInternet);
  ASSERT_TRUE(object);
  EXPECT_LE(object->transfer.PeakBuffered(), 2 * glider::core::HttpTransfer::kBufferLimit);
}

TEST(WinInet, TruncatedBodyEndsWithZeroBytes) {
  LoopbackHttpServer server([](const HttpRequest&) {
    HttpResponse response;
    response.body = glider::test::PatternBody(5000);
    response.sendBytes = 3000;
    return response;
  });
  Exchange e(server, L"/t");
  ASSERT_TRUE(HttpSendRequestW(e.request, nullptr, 0, nullptr, 0));
  EXPECT_EQ(e.ReadSizes(10240), (std::vector<DWORD>{3000, 0}));
}

TEST(WinInet, FollowsRedirectsAndSendsPostWithHeader) {
  LoopbackHttpServer server([](const HttpRequest& r) {
    HttpResponse response;
    if (r.target == "/from") {
      response.status = 302;
      response.headers.push_back("Location: /to%20x");
    } else {
      response.body = r.target;
    }
    return response;
  });
  Exchange get(server, L"/from");
  ASSERT_TRUE(HttpSendRequestW(get.request, nullptr, 0, nullptr, 0));
  DWORD status = 0;
  EXPECT_TRUE(get.Query(HTTP_QUERY_STATUS_CODE, &status));
  EXPECT_EQ(status, 200u);

  Exchange post(server, L"/p a\x4E2D?q=1", L"POST");
  ASSERT_TRUE(HttpAddRequestHeadersW(post.request, L"Content-Type: text/x; charset=UTF-8;\r\n",
                                     static_cast<DWORD>(-1),
                                     HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE));
  char data[] = "k=v";
  ASSERT_TRUE(HttpSendRequestW(post.request, nullptr, 0, data, 3));
  std::vector<HttpRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].target, "/to%20x");
  EXPECT_EQ(requests[2].method, "POST");
  EXPECT_EQ(requests[2].target, "/p%20a%E4%B8%AD?q=1");
  EXPECT_EQ(requests[2].body, "k=v");
  EXPECT_NE(requests[2].headers.find("Content-Type: text/x; charset=UTF-8;\r\n"), std::string::npos);
}

TEST(WinInet, PathIsSentAsGivenApartFromBytesHttpCannotCarry) {
  LoopbackHttpServer server([](const HttpRequest&) { return HttpResponse{}; });
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"/a%20b/c?x=1&y=%2F", "/a%20b/c?x=1&y=%2F"},
      {L"/{a}|b^c`d\\e\"f<g>", "/{a}|b^c`d\\e\"f<g>"},
      {L"/t\tab x\x7F", "/t%09ab%20x%7F"},
      {L"/\x00e9", "/%C3%A9"},
  };
  for (const auto& [path, sent] : cases) {
    Exchange e(server, path);
    EXPECT_TRUE(HttpSendRequestW(e.request, nullptr, 0, nullptr, 0)) << sent;
  }
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), std::size(cases));
  for (size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i].target, cases[i].second);
}

TEST(WinInet, StalledResponseTimesOutOrStopsOnRequest) {
  LoopbackHttpServer server([](const HttpRequest&) {
    HttpResponse response;
    response.body = "partial body";
    response.sendBytes = 4;
    response.stall = true;
    return response;
  });
  {
    Exchange e(server, L"/s");
    DWORD timeout = 200;
    ASSERT_TRUE(InternetSetOptionW(e.root, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout)));
    // The option applies to requests sent afterwards.
    HINTERNET connection = InternetConnectW(e.root, L"127.0.0.1", static_cast<INTERNET_PORT>(server.port()),
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestW(connection, L"GET", L"/s", nullptr, nullptr, nullptr, 0, 0);
    ASSERT_TRUE(HttpSendRequestW(request, nullptr, 0, nullptr, 0));
    char buffer[100];
    DWORD read = 0;
    EXPECT_TRUE(InternetReadFile(request, buffer, sizeof(buffer), &read));  // what came before the stall
    EXPECT_EQ(read, 4u);
    EXPECT_FALSE(InternetReadFile(request, buffer, sizeof(buffer), &read));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
  }
  volatile LONG stop = 0;
  std::atomic<bool> readReturned{false};
  DWORD error = 0;
  std::thread reader([&] {
    glider::core::BindInternetStopFlag(&stop);
    Exchange e(server, L"/s");
    char buffer[100];
    DWORD read = 0;
    // The stop may come while the headers are still on their way or during the read.
    if (HttpSendRequestW(e.request, nullptr, 0, nullptr, 0)) {
      while (InternetReadFile(e.request, buffer, sizeof(buffer), &read) && read > 0) {
      }
    }
    error = GetLastError();
    readReturned = true;
    glider::core::BindInternetStopFlag(nullptr);
  });
  ASSERT_TRUE(server.WaitForStalls(2));  // the first exchange's connection is still held too
  EXPECT_FALSE(readReturned.load());
  __atomic_store_n(&stop, 1, __ATOMIC_RELEASE);
  glider::core::WakeInternetCalls(&stop);
  reader.join();
  EXPECT_EQ(error, ERROR_INTERNET_OPERATION_CANCELLED);
  server.ReleaseStalls();
}

TEST(WinInet, SystemProxySettingApplies) {
  LoopbackHttpServer proxy([](const HttpRequest&) { return HttpResponse{}; });
  std::string address = "http://127.0.0.1:" + std::to_string(proxy.port());
  const char* previous = getenv("http_proxy");
  std::string saved = previous != nullptr ? previous : "";
  setenv("http_proxy", address.c_str(), 1);
  HINTERNET root = InternetOpenW(L"t", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET connection =
      InternetConnectW(root, L"glider.invalid", 0, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestW(connection, L"GET", L"/v.ini", nullptr, nullptr, nullptr, 0, 0);
  EXPECT_TRUE(HttpSendRequestW(request, nullptr, 0, nullptr, 0));
  if (previous != nullptr) {
    setenv("http_proxy", saved.c_str(), 1);
  } else {
    unsetenv("http_proxy");
  }
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(root);
  auto requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "http://glider.invalid/v.ini");
}

TEST(WinInet, HandlesAreChecked) {
  EXPECT_FALSE(InternetCloseHandle(reinterpret_cast<HINTERNET>(0x1234)));
  HINTERNET root = InternetOpenW(L"t", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(HttpOpenRequestW(root, L"GET", L"/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  EXPECT_TRUE(InternetCloseHandle(root));
  EXPECT_FALSE(InternetCloseHandle(root));
}

}  // namespace
