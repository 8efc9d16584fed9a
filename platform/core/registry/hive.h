// One hive of the registry as a text file: a "[path]" line per key and a
// "name=type:hex bytes" line per value, names percent-escaped.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windef.h"

namespace glider::core {

struct RegValue {
  std::wstring name;  // empty for the key's default value
  DWORD type;
  std::vector<BYTE> data;
};

struct RegKey {
  std::wstring path;  // backslash-separated, as first created; empty for the hive's root
  std::vector<RegValue> values;

  RegValue* FindValue(std::wstring_view name);
};

// Joins a key's path and a sub-key path; nullopt for an empty name along the way
// (a leading, trailing or doubled backslash).
std::optional<std::wstring> JoinKeyPath(std::wstring_view base, std::wstring_view sub);

class Hive {
 public:
  explicit Hive(std::string_view text);
  std::string Text() const;

  RegKey* Find(std::wstring_view path);
  // The key, with every missing key along the path created.
  RegKey& Create(std::wstring_view path);

 private:
  std::vector<RegKey> keys_;
};

// The hive's file, $XDG_CONFIG_HOME/glider-registry/<name>.reg; empty for a key that
// is no hive.
std::string HiveFile(HKEY root);

}  // namespace glider::core
