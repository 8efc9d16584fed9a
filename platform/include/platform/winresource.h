// Resources compiled into the deliverable (res/<build>/resources.txt), looked up
// by module and id: pictures, bitmaps, icon groups, menus and strings. A null
// module means the deliverable's own resources.
#pragma once

#include "platform/windef.h"

// Resource types passed to FindResourceW (a type may also be a name: "PNG").
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

// Names are MAKEINTRESOURCEW ids or "#<id>". Strings are found by their own id.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL loaded);

// LoadImageW: IMAGE_BITMAP from a BITMAP resource (a DIB section; our bitmap
// resources hold PNG bytes) and IMAGE_ICON from an icon group.
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_SHARED = 0x8000;
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// Copies at most max - 1 characters and a terminator; with max 0, stores a
// read-only pointer to the (terminated) text in *buffer. Returns the length.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max);

// Icons keep their decoded picture for the driver. Resource icons load once
// per module and id and are shared (DestroyIcon on them does nothing).
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyIcon(HICON icon);

// Menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and every popup still attached to it.
BOOL DestroyMenu(HMENU menu);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
HMENU GetSubMenu(HMENU menu, int position);
// Removes an entry without destroying its popup.
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
// Returns the previous check state (MF_CHECKED or MF_UNCHECKED), or -1.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);
// -1 (as UINT) for a popup entry or a bad position.
UINT GetMenuItemID(HMENU menu, int position);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags);
BOOL IsMenu(HMENU menu);
