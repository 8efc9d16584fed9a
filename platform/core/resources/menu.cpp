// Menus: resources in our text format, and the USER32 menu functions.
#include "platform/core/resources/menu.h"

#include "platform/core/gdi/handle_registry.h"
#include "platform/core/resources/module.h"
#include "platform/core/text/utf.h"
#include "platform/winresource.h"

namespace glider::core {
namespace {

HandleRegistry& Live() {
  static auto* live = new HandleRegistry();
  return *live;
}

HMENU NewMenu(bool popup) {
  auto* menu = new Menu();
  menu->isPopup = popup;
  Live().Add(menu);
  return reinterpret_cast<HMENU>(menu);
}

Menu* Find(HMENU handle) { return Live().Contains(handle) ? reinterpret_cast<Menu*>(handle) : nullptr; }

void Destroy(Menu* menu) {
  for (MenuItem& item : menu->items)
    if (item.popup != nullptr) Destroy(item.popup);
  Live().Remove(menu);
  delete menu;
}

// The item at a position, or the first with the command id (popups searched too).
MenuItem* FindItem(Menu* menu, UINT item, UINT flags, Menu** owner = nullptr) {
  if (flags & MF_BYPOSITION) {
    if (item >= menu->items.size()) return nullptr;
    if (owner != nullptr) *owner = menu;
    return &menu->items[item];
  }
  for (MenuItem& entry : menu->items) {
    if (!(entry.flags & MF_POPUP) && !(entry.flags & MF_SEPARATOR) && entry.id == item) {
      if (owner != nullptr) *owner = menu;
      return &entry;
    }
    if (entry.popup != nullptr)
      if (MenuItem* inner = FindItem(entry.popup, item, flags, owner)) return inner;
  }
  return nullptr;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string_view Word(std::string_view* rest) {
  const size_t end = rest->find_first_of(" \t");
  std::string_view word = rest->substr(0, end);
  *rest = end == std::string_view::npos ? std::string_view() : Trim(rest->substr(end));
  return word;
}

bool ParseLine(std::string_view line, std::vector<Menu*>* stack) {
  std::string_view rest = line;
  const std::string_view keyword = Word(&rest);
  Menu* current = stack->back();
  if (keyword == "END") {
    if (stack->size() < 2) return false;
    stack->pop_back();
    return rest.empty();
  }
  if (keyword == "SEPARATOR") {
    if (!current->isPopup) return false;
    current->items.push_back(MenuItem{0, {}, MF_SEPARATOR, nullptr});
    return rest.empty();
  }
  if (keyword == "POPUP") {
    Menu* popup = reinterpret_cast<Menu*>(NewMenu(true));
    current->items.push_back(MenuItem{0, Utf8ToWide(rest), MF_POPUP, popup});
    stack->push_back(popup);
    return true;
  }
  if (keyword != "ITEM" || !current->isPopup) return false;
  const std::string_view number = Word(&rest);
  if (number.empty() || number.size() > 5) return false;
  UINT id = 0;
  for (char c : number) {
    if (c < '0' || c > '9') return false;
    id = id * 10 + static_cast<UINT>(c - '0');
  }
  UINT flags = MF_STRING;
  for (;;) {
    std::string_view probe = rest;
    const std::string_view flag = Word(&probe);
    if (flag == "CHECKED")
      flags |= MF_CHECKED;
    else if (flag == "GRAYED")
      flags |= MF_GRAYED;
    else
      break;
    rest = probe;
  }
  if (id > 0xFFFF || rest.empty()) return false;
  current->items.push_back(MenuItem{id, Utf8ToWide(rest), flags, nullptr});
  return true;
}

}  // namespace

const Menu* GetMenuData(HMENU menu) { return Find(menu); }

HMENU ParseMenu(std::string_view text) {
  HMENU bar = NewMenu(false);
  std::vector<Menu*> stack{reinterpret_cast<Menu*>(bar)};
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (!ParseLine(line, &stack)) {
      DestroyMenu(bar);
      return nullptr;
    }
  }
  if (stack.size() != 1) {
    DestroyMenu(bar);
    return nullptr;
  }
  return bar;
}

}  // namespace glider::core

using namespace glider::core;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  const ResourceEntry* entry = FindEntry(instance, ResourceKind::Menu, name);
  if (entry == nullptr) return nullptr;
  return ParseMenu(std::string_view(reinterpret_cast<const char*>(entry->data), entry->size));
}

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU handle) {
  Menu* menu = Find(handle);
  if (menu == nullptr) return FALSE;
  Destroy(menu);
  return TRUE;
}

BOOL IsMenu(HMENU handle) { return Find(handle) != nullptr ? TRUE : FALSE; }

BOOL AppendMenuW(HMENU handle, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
  Menu* menu = Find(handle);
  if (menu == nullptr) return FALSE;
  MenuItem item;
  item.flags = flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP);
  if (text != nullptr && !(flags & MF_SEPARATOR)) item.text = text;
  if (flags & MF_POPUP) {
    item.popup = Find(reinterpret_cast<HMENU>(idOrPopup));
    if (item.popup == nullptr || item.popup == menu) return FALSE;
  } else {
    item.id = static_cast<UINT>(idOrPopup & 0xFFFF);
  }
  menu->items.push_back(std::move(item));
  return TRUE;
}

HMENU GetSubMenu(HMENU handle, int position) {
  Menu* menu = Find(handle);
  if (menu == nullptr || position < 0 || static_cast<size_t>(position) >= menu->items.size()) return nullptr;
  return reinterpret_cast<HMENU>(menu->items[static_cast<size_t>(position)].popup);
}

namespace {
BOOL Remove(HMENU handle, UINT item, UINT flags, bool destroyPopup) {
  Menu* menu = Find(handle);
  if (menu == nullptr) return FALSE;
  Menu* owner = nullptr;
  MenuItem* entry = FindItem(menu, item, flags, &owner);
  if (entry == nullptr) return FALSE;
  if (destroyPopup && entry->popup != nullptr) DestroyMenu(reinterpret_cast<HMENU>(entry->popup));
  owner->items.erase(owner->items.begin() + (entry - owner->items.data()));
  return TRUE;
}
}  // namespace

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) { return Remove(menu, item, flags, false); }
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) { return Remove(menu, item, flags, true); }

DWORD CheckMenuItem(HMENU handle, UINT item, UINT check) {
  Menu* menu = Find(handle);
  MenuItem* entry = menu == nullptr ? nullptr : FindItem(menu, item, check);
  if (entry == nullptr) return static_cast<DWORD>(-1);
  const DWORD previous = entry->flags & MF_CHECKED;
  entry->flags = (entry->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU handle, UINT item, UINT enable) {
  Menu* menu = Find(handle);
  MenuItem* entry = menu == nullptr ? nullptr : FindItem(menu, item, enable);
  if (entry == nullptr) return -1;
  const BOOL previous = static_cast<BOOL>(entry->flags & (MF_GRAYED | MF_DISABLED));
  entry->flags = (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

UINT GetMenuState(HMENU handle, UINT item, UINT flags) {
  Menu* menu = Find(handle);
  MenuItem* entry = menu == nullptr ? nullptr : FindItem(menu, item, flags);
  if (entry == nullptr) return static_cast<UINT>(-1);
  if (entry->popup != nullptr)
    return (static_cast<UINT>(entry->popup->items.size()) << 8) | (entry->flags & 0xFF) | MF_POPUP;
  return entry->flags;
}

int GetMenuItemCount(HMENU handle) {
  Menu* menu = Find(handle);
  return menu == nullptr ? -1 : static_cast<int>(menu->items.size());
}

UINT GetMenuItemID(HMENU handle, int position) {
  Menu* menu = Find(handle);
  if (menu == nullptr || position < 0 || static_cast<size_t>(position) >= menu->items.size())
    return static_cast<UINT>(-1);
  const MenuItem& item = menu->items[static_cast<size_t>(position)];
  return item.popup != nullptr ? static_cast<UINT>(-1) : item.id;
}

int GetMenuStringW(HMENU handle, UINT item, LPWSTR buffer, int max, UINT flags) {
  Menu* menu = Find(handle);
  MenuItem* entry = menu == nullptr ? nullptr : FindItem(menu, item, flags);
  if (entry == nullptr) return 0;
  const int length = static_cast<int>(entry->text.size());
  if (buffer == nullptr || max <= 0) return length;
  const int n = length < max - 1 ? length : max - 1;
  entry->text.copy(buffer, static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}
