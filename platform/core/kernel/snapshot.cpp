// Process snapshots from /proc.
#include <dirent.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/kernel/kernel_object.h"
#include "platform/core/kernel/wide_text.h"
#include "platform/errhandlingapi.h"
#include "platform/tlhelp32.h"

namespace glider::core {
namespace {

class SnapshotObject : public KernelObject {
 public:
  SnapshotObject() : KernelObject(Kind::kSnapshot) {}
  std::vector<PROCESSENTRY32W> entries;
  size_t next = 0;
};

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The base name of argv[0], cut at "/" or "\\" so Wine's paths give the .exe name.
std::string ExecutableName(const std::string& folder) {
  std::string commandLine = ReadWhole(folder + "/cmdline");
  std::string first = commandLine.substr(0, commandLine.find('\0'));
  if (first.empty()) {
    first = ReadWhole(folder + "/comm");
    while (!first.empty() && first.back() == '\n') first.pop_back();
  }
  size_t cut = first.find_last_of("/\\");
  return cut == std::string::npos ? first : first.substr(cut + 1);
}

DWORD StatusField(const std::string& status, const char* field) {
  size_t at = status.find(std::string("\n") + field + ":");
  if (at == std::string::npos) return 0;
  return static_cast<DWORD>(std::strtoul(status.c_str() + at + std::strlen(field) + 2, nullptr, 10));
}

}  // namespace
}  // namespace glider::core

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  if ((flags & TH32CS_SNAPPROCESS) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  DIR* proc = opendir("/proc");
  if (proc == nullptr) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  auto snapshot = std::make_shared<glider::core::SnapshotObject>();
  while (dirent* item = readdir(proc)) {
    char* end = nullptr;
    unsigned long pid = std::strtoul(item->d_name, &end, 10);
    if (end == item->d_name || *end != '\0') continue;
    std::string folder = std::string("/proc/") + item->d_name;
    std::string name = glider::core::ExecutableName(folder);
    if (name.empty()) continue;  // ended while we read it
    std::string status = "\n" + glider::core::ReadWhole(folder + "/status");
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    entry.th32ProcessID = static_cast<DWORD>(pid);
    entry.cntThreads = glider::core::StatusField(status, "Threads");
    entry.th32ParentProcessID = glider::core::StatusField(status, "PPid");
    std::wstring wide = glider::core::Utf8ToWide(name);
    wcsncpy(entry.szExeFile, wide.c_str(), MAX_PATH - 1);
    snapshot->entries.push_back(entry);
  }
  closedir(proc);
  HANDLE handle = glider::core::InsertHandle(snapshot);
  if (handle == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

namespace {

BOOL NextEntry(HANDLE snapshot, LPPROCESSENTRY32W entry, bool first) {
  using glider::core::KernelObject;
  auto object =
      glider::core::LookupHandleAs<glider::core::SnapshotObject>(snapshot, KernelObject::Kind::kSnapshot);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (entry == nullptr || entry->dwSize < sizeof(PROCESSENTRY32W)) {
    SetLastError(24);  // ERROR_BAD_LENGTH
    return FALSE;
  }
  if (first) object->next = 0;
  if (object->next >= object->entries.size()) {
    SetLastError(18);  // ERROR_NO_MORE_FILES
    return FALSE;
  }
  *entry = object->entries[object->next++];
  return TRUE;
}

}  // namespace

BOOL Process32FirstW(HANDLE snapshot, LPPROCESSENTRY32W entry) { return NextEntry(snapshot, entry, true); }
BOOL Process32NextW(HANDLE snapshot, LPPROCESSENTRY32W entry) { return NextEntry(snapshot, entry, false); }
