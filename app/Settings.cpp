#include "app/Settings.h"

#include "platform/winbase.h"
#include "util/Folders.h"

namespace {

std::wstring FileOrSettings(const std::wstring& file) { return file.empty() ? GetSettingsPath() : file; }

}  // namespace

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& def,
                           const std::wstring& file) {
  wchar_t buffer[260] = {};
  GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buffer, 260,
                           FileOrSettings(file).c_str());
  return buffer;
}

void WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file) {
  WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), FileOrSettings(file).c_str());
}

int ReadIniInt(const std::wstring& section, const std::wstring& key, int def, const std::wstring& file) {
  return static_cast<int>(
      GetPrivateProfileIntW(section.c_str(), key.c_str(), def, FileOrSettings(file).c_str()));
}
