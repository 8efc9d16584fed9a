// Window messages the parts of the client post to each other.
#pragma once

#include "platform/winuser.h"

constexpr UINT WM_ENTER_GAME = WM_USER + 200;         // 1224
constexpr UINT WM_EXIT_APP = WM_USER + 201;           // 1225
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 204;        // 1228
constexpr UINT WM_CONFIRM_EXIT = WM_USER + 206;       // 1230
constexpr UINT WM_OPEN_THIRD_LOGIN = WM_USER + 207;   // 1231
constexpr UINT WM_CLOSE_THIRD_LOGIN = WM_USER + 208;  // 1232
constexpr UINT WM_THIRD_LOGIN_DONE = WM_USER + 209;   // 1233
constexpr UINT WM_CACHE_CLEARED = WM_USER + 210;      // 1234, shared-library build

// The question asked before the client ends.
inline constexpr const wchar_t* kConfirmExitText = L"此操作将退出游戏，是否继续？";
inline constexpr const wchar_t* kPromptCaption = L"提示";
