// The current user's Run key as XDG autostart entries: value NAME is the desktop
// entry $XDG_CONFIG_HOME/autostart/NAME.desktop, whose Exec= line holds the value's
// data (a Windows-style command line: the quoted program path and its switches).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/windef.h"

namespace glider::core {

bool IsRunKeyPath(HKEY hive, std::wstring_view path);

// Each returns a Windows error code.
LONG WriteAutostartEntry(std::wstring_view name, std::wstring_view commandLine);
LONG ReadAutostartEntry(std::wstring_view name, std::wstring& commandLine);
LONG RemoveAutostartEntry(std::wstring_view name);

// The Exec= value for a command line, and back. Quoted arguments stay quoted; an
// unquoted argument holding a character that desktop entries reserve gets quoted.
std::string DesktopExecFromCommandLine(std::wstring_view commandLine);
std::wstring CommandLineFromDesktopExec(std::string_view exec);

}  // namespace glider::core
