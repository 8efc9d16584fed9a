// The shell's special folders.
#pragma once

#include "platform/windef.h"

constexpr int CSIDL_APPDATA = 26;

// CSIDL_APPDATA is $XDG_CONFIG_HOME, or ~/.config, without a final '/'. With create
// set the folder is made when missing. Other folders are not known: FALSE.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int folder, BOOL create);
