// The client's folders and files. Paths end in '/' where they name a folder (the
// platform's separator; the names keep the Windows wording).
#pragma once

#include <string>

// Application-data folder + "Vemo游戏/velk/" (shared-library build: + "velk/"),
// created on the first call and cached for the process.
std::wstring GetDataFolder();
// The data folder's "Upgrade/" sub-folder, created on every call.
std::wstring GetUpgradeFolder();
std::wstring GetLastUpgradePath();
std::wstring GetUpgradeProgramPath();
// The data folder's "Glider.ini" (shared-library build: "config.ini" in the program folder).
std::wstring GetSettingsPath();
// The temporary folder with its final '/', cached for the process.
std::wstring GetTempFolder();
// The folder of the running executable (not of a library), with its final '/';
// empty when the path has no folder.
std::wstring GetProgramFolder();

// Creates every missing folder along the path; true when the whole path exists.
bool CreateFolderTree(const std::wstring& path);
// The path with a final separator, unless it is empty or has one.
std::wstring EnsureTrailingBackslash(const std::wstring& path);

namespace glider::util {
// Forgets the cached data and temporary folders, so a test can point them elsewhere.
void ResetFolderCachesForTesting();
}  // namespace glider::util
using glider::util::ResetFolderCachesForTesting;
