// The settings file and its three small operations.
#pragma once

#include <string>

// The client's own version number.
constexpr int ClientVersion = 3000;

// An empty file argument means the settings file.
std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& def,
                           const std::wstring& file = L"");
void WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                    const std::wstring& file = L"");
int ReadIniInt(const std::wstring& section, const std::wstring& key, int def, const std::wstring& file = L"");
