// Opening addresses outside the client, and the elevation test.
#pragma once

#include <string>

// Opens the address with "iexplore" and, when that is not installed, with the desktop's
// handler for it.
void OpenInBrowser(const std::wstring& address);
bool IsProcessElevated();
