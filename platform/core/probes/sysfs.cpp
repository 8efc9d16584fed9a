#include "platform/core/probes/sysfs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace glider::core::probes {

bool ReadSmallFile(const std::string& path, std::string* text) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string data;
  char block[4096];
  bool ok = true;
  while (data.size() < 65536) {
    ssize_t n = read(fd, block, sizeof block);
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    data.append(block, static_cast<size_t>(n));
  }
  close(fd);
  if (ok) *text = std::move(data);
  return ok;
}

bool ReadTrimmedLine(const std::string& path, std::string* line) {
  std::string text;
  if (!ReadSmallFile(path, &text)) return false;
  size_t end = text.find('\n');
  if (end != std::string::npos) text.resize(end);
  const char* blanks = " \t\r";
  size_t first = text.find_first_not_of(blanks);
  size_t last = text.find_last_not_of(blanks);
  *line = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  return true;
}

bool PathExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string LinkTargetName(const std::string& path) {
  char target[4096];
  ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
  if (n <= 0) return std::string();
  std::string text(target, static_cast<size_t>(n));
  while (!text.empty() && text.back() == '/') text.pop_back();
  size_t slash = text.rfind('/');
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

}  // namespace glider::core::probes
