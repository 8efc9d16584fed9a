#include "platform/core/env/paths.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/core/env/last_error.h"
#include "platform/core/text/utf.h"
#include "platform/shlobj.h"
#include "platform/shlwapi.h"
#include "platform/winbase.h"

namespace glider::core {

namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? pw->pw_dir : "/";
}

std::string WithoutFinalSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string SelfExe() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// Windows' rule for a result that does not fit: cut and terminated, the size returned.
DWORD CopyPathOut(const std::string& path, LPWSTR buffer, DWORD size) {
  std::wstring wide = Utf8ToWide(path);
  size_t copied = CopyToBuffer(wide, buffer, size);
  if (copied < wide.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(copied);
}

}  // namespace

std::string ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // The XDG rule: a relative value is ignored.
  if (config && config[0] == '/') return WithoutFinalSlash(config);
  return WithoutFinalSlash(HomeFolder()) + "/.config";
}

std::string ObjectFileOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fbase) return {};
  // dladdr names the main program by argv[0]; the mappings give every object's real path.
  uintptr_t base = reinterpret_cast<uintptr_t>(info.dli_fbase);
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    uintptr_t from = 0, to = 0;
    int pathAt = 0;
    if (std::sscanf(line.c_str(), "%" SCNxPTR "-%" SCNxPTR " %*s %*s %*s %*s %n", &from, &to, &pathAt) < 2)
      continue;
    if (base < from || base >= to || pathAt <= 0) continue;
    std::string path = line.substr(static_cast<size_t>(pathAt));
    if (!path.empty() && path[0] == '/') return path;
  }
  return info.dli_fname && info.dli_fname[0] == '/' ? info.dli_fname : std::string();
}

}  // namespace glider::core

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  std::string path = module ? glider::core::ObjectFileOf(module) : glider::core::SelfExe();
  if (path.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    if (buffer && size) buffer[0] = L'\0';
    return 0;
  }
  return glider::core::CopyPathOut(path, buffer, size);
}

DWORD GetTempPathW(DWORD size, LPWSTR buffer) {
  const char* tmp = std::getenv("TMPDIR");
  std::string path = tmp && *tmp ? tmp : "/tmp";
  if (path.back() != '/') path += '/';
  std::wstring wide = glider::core::Utf8ToWide(path);
  if (!buffer || size <= wide.size()) return static_cast<DWORD>(wide.size() + 1);
  return static_cast<DWORD>(glider::core::CopyToBuffer(wide, buffer, size));
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
  if (!path || !*path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (mkdir(glider::core::WideToUtf8(path).c_str(), 0777) != 0) {
    // A missing parent is a missing path on Windows, not a missing file.
    if (errno == ENOENT) {
      SetLastError(ERROR_PATH_NOT_FOUND);
    } else {
      glider::core::SetLastErrorFromErrno();
    }
    return FALSE;
  }
  return TRUE;
}

BOOL PathFileExistsW(LPCWSTR path) {
  if (!path || !*path) return FALSE;
  struct stat st {};
  return stat(glider::core::WideToUtf8(path).c_str(), &st) == 0 ? TRUE : FALSE;
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int folder, BOOL create) {
  if (!path || folder != CSIDL_APPDATA) return FALSE;
  std::string config = glider::core::ConfigHome();
  if (create) mkdir(config.c_str(), 0700);
  std::wstring wide = glider::core::Utf8ToWide(config);
  if (wide.size() >= MAX_PATH) return FALSE;
  glider::core::CopyToBuffer(wide, path, MAX_PATH);
  return TRUE;
}
