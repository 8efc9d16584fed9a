#include "util/Folders.h"

#include <mutex>
#include <optional>

#include "platform/windows.h"

namespace {

// Filled on first use. The lock costs nothing next to the file system and keeps a
// first use from a worker thread safe.
std::mutex cacheLock;
std::optional<std::wstring> dataFolder;
std::optional<std::wstring> tempFolder;

constexpr wchar_t kSeparator = L'/';

}  // namespace

namespace glider::util {
void ResetFolderCachesForTesting() {
  std::lock_guard<std::mutex> hold(cacheLock);
  dataFolder.reset();
  tempFolder.reset();
}
}  // namespace glider::util

std::wstring EnsureTrailingBackslash(const std::wstring& path) {
  if (path.empty() || path.back() == kSeparator) return path;
  return path + kSeparator;
}

bool CreateFolderTree(const std::wstring& path) {
  if (path.empty()) return false;
  for (size_t at = path.find(kSeparator); at != std::wstring::npos; at = path.find(kSeparator, at + 1)) {
    std::wstring prefix = path.substr(0, at + 1);
    if (!PathFileExistsW(prefix.c_str()) && !CreateDirectoryW(prefix.c_str(), nullptr)) return false;
  }
  return PathFileExistsW(path.c_str()) || CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring GetDataFolder() {
  std::lock_guard<std::mutex> hold(cacheLock);
  if (dataFolder) return *dataFolder;
  wchar_t appData[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
  std::wstring folder = EnsureTrailingBackslash(appData);
#ifndef GLIDER_LIBRARY
  folder += L"Vemo游戏/";
#endif
  folder += L"velk/";
  dataFolder = folder;
  CreateFolderTree(folder);
  return folder;
}

std::wstring GetUpgradeFolder() {
  std::wstring folder = GetDataFolder() + L"Upgrade/";
  CreateFolderTree(folder);
  return folder;
}

std::wstring GetLastUpgradePath() { return GetUpgradeFolder() + L"LastUpgrade.ini"; }

std::wstring GetUpgradeProgramPath() { return GetUpgradeFolder() + L"VemoGliderUpgrade.exe"; }

std::wstring GetSettingsPath() {
#ifdef GLIDER_LIBRARY
  return GetProgramFolder() + L"config.ini";
#else
  return GetDataFolder() + L"Glider.ini";
#endif
}

std::wstring GetTempFolder() {
  std::lock_guard<std::mutex> hold(cacheLock);
  if (tempFolder) return *tempFolder;
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetTempPathW(MAX_PATH, buffer);
  tempFolder = std::wstring(buffer, n < MAX_PATH ? n : 0);
  return *tempFolder;
}

std::wstring GetProgramFolder() {
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path(buffer, n < MAX_PATH ? n : 0);
  size_t last = path.rfind(kSeparator);
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}
