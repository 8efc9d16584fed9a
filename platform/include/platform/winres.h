// Resources compiled into each deliverable, looked up by module and id.
#pragma once

#include "platform/windef.h"

// Copies string id into buffer (at most size - 1 characters and a terminator); returns
// the number of characters copied, 0 when the string does not exist.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
