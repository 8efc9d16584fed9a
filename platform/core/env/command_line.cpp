#include "platform/core/env/command_line.h"

#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/core/text/utf.h"
#include "platform/winbase.h"

namespace glider::core {

namespace {

std::mutex lineLock;
// Every text handed out stays for the life of the process: callers keep the pointer,
// also across a test's override.
std::deque<std::wstring>* lines = nullptr;
std::optional<std::wstring> overrideLine;

std::wstring ReadOwnCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> args;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    args.push_back(Utf8ToWide(std::string_view(raw).substr(start, end - start)));
    start = end + 1;
  }
  return JoinCommandLine(args);
}

}  // namespace

void SetCommandLineOverride(std::optional<std::wstring> line) {
  std::lock_guard<std::mutex> hold(lineLock);
  overrideLine = std::move(line);
  if (lines) lines->push_back(overrideLine ? *overrideLine : ReadOwnCommandLine());
}

std::wstring JoinCommandLine(const std::vector<std::wstring>& args) {
  std::wstring line;
  for (const std::wstring& arg : args) {
    if (!line.empty()) line += L' ';
    bool quote = arg.empty() || arg.find_first_of(L" \t") != std::wstring::npos;
    line += quote ? L"\"" + arg + L"\"" : arg;
  }
  return line;
}

}  // namespace glider::core

LPWSTR GetCommandLineW() {
  using namespace glider::core;
  std::lock_guard<std::mutex> hold(lineLock);
  if (!lines) lines = new std::deque<std::wstring>{overrideLine ? *overrideLine : ReadOwnCommandLine()};
  return lines->back().data();
}
