// GetVersionExW and the affinity masks.
#include <sched.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "platform/core/probes/sysfs.h"
#include "platform/sysinfoapi.h"

namespace {

const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
constexpr int kMaskBits = 64;

// Parses a kernel CPU list such as "0-3,8,10-11" into a mask of the first 64 processors.
DWORD_PTR ParseCpuList(const std::string& list) {
  DWORD_PTR mask = 0;
  size_t i = 0;
  while (i < list.size()) {
    size_t end = list.find(',', i);
    if (end == std::string::npos) end = list.size();
    std::string range = list.substr(i, end - i);
    size_t dash = range.find('-');
    long first = std::strtol(range.c_str(), nullptr, 10);
    long last = dash == std::string::npos ? first : std::strtol(range.c_str() + dash + 1, nullptr, 10);
    for (long cpu = first; cpu <= last && cpu < kMaskBits; ++cpu)
      if (cpu >= 0) mask |= DWORD_PTR{1} << cpu;
    i = end + 1;
  }
  return mask;
}

DWORD_PTR SystemMask() {
  std::string online;
  if (glider::core::probes::ReadTrimmedLine("/sys/devices/system/cpu/online", &online)) {
    DWORD_PTR mask = ParseCpuList(online);
    if (mask) return mask;
  }
  cpu_set_t all;
  CPU_ZERO(&all);
  if (sched_getaffinity(0, sizeof all, &all) != 0) return 1;
  DWORD_PTR mask = 0;
  for (int cpu = 0; cpu < kMaskBits; ++cpu)
    if (CPU_ISSET(cpu, &all)) mask |= DWORD_PTR{1} << cpu;
  return mask;
}

}  // namespace

BOOL GetVersionExW(LPOSVERSIONINFOW info) {
  if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) return FALSE;
  info->dwMajorVersion = 10;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 19045;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  info->szCSDVersion[0] = L'\0';
  return TRUE;
}

BOOL GetProcessAffinityMask(HANDLE process, PDWORD_PTR processMask, PDWORD_PTR systemMask) {
  if (process != kCurrentProcess || !processMask || !systemMask) return FALSE;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return FALSE;
  DWORD_PTR mask = 0;
  for (int cpu = 0; cpu < kMaskBits; ++cpu)
    if (CPU_ISSET(cpu, &set)) mask |= DWORD_PTR{1} << cpu;
  *processMask = mask;
  *systemMask = SystemMask();
  return TRUE;
}

BOOL SetProcessAffinityMask(HANDLE process, DWORD_PTR processMask) {
  if (process != kCurrentProcess || processMask == 0 || (processMask & ~SystemMask()) != 0) return FALSE;
  cpu_set_t set;
  CPU_ZERO(&set);
  for (int cpu = 0; cpu < kMaskBits; ++cpu)
    if (processMask & (DWORD_PTR{1} << cpu)) CPU_SET(cpu, &set);
  return sched_setaffinity(0, sizeof set, &set) == 0 ? TRUE : FALSE;
}
