// RegOpenKeyExW and friends over the hive files and the autostart folder.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/core/env/paths.h"
#include "platform/core/files/atomic_file.h"
#include "platform/core/registry/autostart.h"
#include "platform/core/registry/hive.h"
#include "platform/winbase.h"
#include "platform/winreg.h"

namespace {

using glider::core::Hive;

struct OpenKey {
  HKEY hive;
  std::wstring path;
  REGSAM access;
};

std::mutex handleLock;
std::set<OpenKey*> liveHandles;

bool IsPredefined(HKEY key) { return !glider::core::HiveFile(key).empty(); }

// The hive and path behind a handle; false for a handle that is not open.
bool Resolve(HKEY key, OpenKey& out) {
  if (IsPredefined(key)) {
    out = {key, L"", KEY_ALL_ACCESS};
    return true;
  }
  std::lock_guard<std::mutex> hold(handleLock);
  auto* open = reinterpret_cast<OpenKey*>(key);
  if (!liveHandles.count(open)) return false;
  out = *open;
  return true;
}

HKEY NewHandle(OpenKey key) {
  auto* open = new OpenKey(std::move(key));
  std::lock_guard<std::mutex> hold(handleLock);
  liveHandles.insert(open);
  return reinterpret_cast<HKEY>(open);
}

Hive LoadHive(HKEY hive) {
  std::string content;
  bool exists = false;
  glider::core::ReadWholeFile(glider::core::HiveFile(hive), content, exists);
  return Hive(content);
}

// Applies an edit to the hive under its lock. The edit returns a registry status.
LONG EditHive(HKEY hive, const std::function<LONG(Hive&)>& edit) {
  std::string file = glider::core::HiveFile(hive);
  if (!glider::core::MakeFolders(file.substr(0, file.rfind('/')))) return static_cast<LONG>(GetLastError());
  LONG status = ERROR_SUCCESS;
  bool written = glider::core::UpdateFileLocked(file, [&](std::string& content, bool) {
    Hive store(content);
    status = edit(store);
    if (status != ERROR_SUCCESS) return false;
    content = store.Text();
    return true;
  });
  if (!written && status == ERROR_SUCCESS) status = static_cast<LONG>(GetLastError());
  return status;
}

bool KeyExists(const OpenKey& key) {
  if (key.path.empty() || glider::core::IsRunKeyPath(key.hive, key.path)) return true;
  return LoadHive(key.hive).Find(key.path) != nullptr;
}

// The reader's side of RegQueryValueExW: size query, short buffer, copy.
LONG DeliverValue(DWORD type, const std::vector<BYTE>& data, LPDWORD typeOut, LPBYTE out, LPDWORD size) {
  if (out && !size) return ERROR_INVALID_PARAMETER;
  if (typeOut) *typeOut = type;
  if (!size) return ERROR_SUCCESS;
  DWORD needed = static_cast<DWORD>(data.size());
  DWORD room = *size;
  *size = needed;
  if (!out) return ERROR_SUCCESS;
  if (room < needed) return ERROR_MORE_DATA;
  std::copy(data.begin(), data.end(), out);
  return ERROR_SUCCESS;
}

std::vector<BYTE> TextBytes(const std::wstring& text) {
  std::vector<BYTE> bytes((text.size() + 1) * sizeof(wchar_t));
  std::memcpy(bytes.data(), text.c_str(), bytes.size());
  return bytes;
}

std::wstring TextOf(const BYTE* data, DWORD size) {
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (data) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

LONG OpenPath(HKEY key, LPCWSTR subKey, REGSAM access, PHKEY result, bool create) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey parent;
  if (!Resolve(key, parent)) return ERROR_INVALID_HANDLE;
  std::optional<std::wstring> path = glider::core::JoinKeyPath(parent.path, subKey ? subKey : L"");
  if (!path) return ERROR_BAD_PATHNAME;
  OpenKey opened{parent.hive, *path, access};
  if (create && !KeyExists(opened)) {
    LONG status = EditHive(parent.hive, [&](Hive& store) {
      store.Create(*path);
      return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) return status;
  } else if (!KeyExists(opened)) {
    return ERROR_FILE_NOT_FOUND;
  }
  *result = NewHandle(std::move(opened));
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
  return OpenPath(key, subKey, access, result, false);
}

LSTATUS RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result) {
  return OpenPath(key, subKey, KEY_ALL_ACCESS, result, true);
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  std::wstring valueName = name ? name : L"";
  if (glider::core::IsRunKeyPath(open.hive, open.path)) {
    std::wstring command;
    LONG status = glider::core::ReadAutostartEntry(valueName, command);
    return status == ERROR_SUCCESS ? DeliverValue(REG_SZ, TextBytes(command), type, data, size) : status;
  }
  Hive store = LoadHive(open.hive);
  glider::core::RegKey* found = store.Find(open.path);
  glider::core::RegValue* value = found ? found->FindValue(valueName) : nullptr;
  if (!value) return ERROR_FILE_NOT_FOUND;
  return DeliverValue(value->type, value->data, type, data, size);
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  std::wstring valueName = name ? name : L"";
  if (glider::core::IsRunKeyPath(open.hive, open.path)) {
    // A desktop entry runs a command line and holds nothing else.
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_PARAMETER;
    return glider::core::WriteAutostartEntry(valueName, TextOf(data, size));
  }
  std::vector<BYTE> bytes(data, data + size);
  return EditHive(open.hive, [&](Hive& store) -> LONG {
    glider::core::RegKey* found = open.path.empty() ? &store.Create(L"") : store.Find(open.path);
    if (!found) return ERROR_FILE_NOT_FOUND;  // deleted since it was opened
    if (glider::core::RegValue* value = found->FindValue(valueName)) {
      *value = {value->name, type, bytes};
    } else {
      found->values.push_back({valueName, type, bytes});
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR name) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::wstring valueName = name ? name : L"";
  if (glider::core::IsRunKeyPath(open.hive, open.path)) return glider::core::RemoveAutostartEntry(valueName);
  return EditHive(open.hive, [&](Hive& store) -> LONG {
    glider::core::RegKey* found = store.Find(open.path);
    glider::core::RegValue* value = found ? found->FindValue(valueName) : nullptr;
    if (!value) return ERROR_FILE_NOT_FOUND;
    found->values.erase(found->values.begin() + (value - found->values.data()));
    return ERROR_SUCCESS;
  });
}

LSTATUS RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  auto* open = reinterpret_cast<OpenKey*>(key);
  {
    std::lock_guard<std::mutex> hold(handleLock);
    if (!liveHandles.erase(open)) return ERROR_INVALID_HANDLE;
  }
  delete open;
  return ERROR_SUCCESS;
}
