// Menus behind HMENU handles, for the driver's popup menus. Menu resources are
// text (res/<build>/menu/<id>.txt), one entry a line:
//   POPUP <text>            opens a popup; its entries follow until END
//   ITEM <id> [CHECKED] [GRAYED] <text>
//   SEPARATOR
//   END
// Blank lines and lines starting with '#' are ignored; indentation is free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/windef.h"

namespace glider::core {

struct Menu;

struct MenuItem {
  UINT id = 0;
  std::wstring text;
  UINT flags = 0;         // MF_CHECKED, MF_GRAYED, MF_SEPARATOR, MF_POPUP
  Menu* popup = nullptr;  // owned by the item while attached
};

struct Menu {
  bool isPopup = false;
  std::vector<MenuItem> items;
};

// Null when the handle is not a live menu.
const Menu* GetMenuData(HMENU menu);
// Builds a menu bar from the text format; null on a syntax error.
HMENU ParseMenu(std::string_view text);

}  // namespace glider::core
