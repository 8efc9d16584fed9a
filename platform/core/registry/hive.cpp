#include "platform/core/registry/hive.h"

#include <cstdio>
#include <cstdlib>

#include "platform/core/env/paths.h"
#include "platform/core/text/utf.h"
#include "platform/winreg.h"

namespace glider::core {

namespace {

std::string Escape(std::wstring_view text) {
  std::string out;
  for (unsigned char c : WideToUtf8(text)) {
    if (c < 0x20 || c == '%' || c == '=' || c == '[' || c == ']') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

std::wstring Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && glider::core::HexDigitValue(text[i + 1]) >= 0 &&
        glider::core::HexDigitValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(glider::core::HexDigitValue(text[i + 1]) * 16 +
                                      glider::core::HexDigitValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return Utf8ToWide(out);
}

std::vector<BYTE> FromHex(std::string_view hex) {
  std::vector<BYTE> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    int hi = glider::core::HexDigitValue(hex[i]), lo = glider::core::HexDigitValue(hex[i + 1]);
    if (hi < 0 || lo < 0) break;
    bytes.push_back(static_cast<BYTE>(hi * 16 + lo));
  }
  return bytes;
}

}  // namespace

RegValue* RegKey::FindValue(std::wstring_view name) {
  for (RegValue& value : values)
    if (EqualNoCase(value.name, name)) return &value;
  return nullptr;
}

std::optional<std::wstring> JoinKeyPath(std::wstring_view base, std::wstring_view sub) {
  if (sub.empty()) return std::wstring(base);
  // Every name along the path must be there.
  if (sub.front() == L'\\' || sub.back() == L'\\' || sub.find(L"\\\\") != std::wstring_view::npos)
    return std::nullopt;
  return base.empty() ? std::wstring(sub) : std::wstring(base) + L'\\' + std::wstring(sub);
}

Hive::Hive(std::string_view text) {
  RegKey* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &Create(Unescape(line.substr(1, line.size() - 2)));
      continue;
    }
    size_t eq = line.find('=');
    size_t colon = line.find(':', eq);
    if (!current || eq == std::string_view::npos || colon == std::string_view::npos) continue;
    unsigned long type = std::strtoul(std::string(line.substr(eq + 1, colon - eq - 1)).c_str(), nullptr, 10);
    current->values.push_back(
        {Unescape(line.substr(0, eq)), static_cast<DWORD>(type), FromHex(line.substr(colon + 1))});
  }
}

std::string Hive::Text() const {
  std::string text;
  for (const RegKey& key : keys_) {
    text += "[" + Escape(key.path) + "]\n";
    for (const RegValue& value : key.values) {
      text += Escape(value.name) + "=" + std::to_string(value.type) + ":";
      for (BYTE b : value.data) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", b);
        text += hex;
      }
      text += "\n";
    }
  }
  return text;
}

RegKey* Hive::Find(std::wstring_view path) {
  for (RegKey& key : keys_)
    if (EqualNoCase(key.path, path)) return &key;
  return nullptr;
}

RegKey& Hive::Create(std::wstring_view path) {
  if (RegKey* key = Find(path)) return *key;
  size_t slash = path.rfind(L'\\');
  if (!path.empty()) Create(slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash));
  keys_.push_back({std::wstring(path), {}});
  return keys_.back();
}

std::string HiveFile(HKEY root) {
  const char* name = root == HKEY_CURRENT_USER    ? "HKEY_CURRENT_USER"
                     : root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE"
                     : root == HKEY_CLASSES_ROOT  ? "HKEY_CLASSES_ROOT"
                     : root == HKEY_USERS         ? "HKEY_USERS"
                                                  : nullptr;
  return name ? ConfigHome() + "/glider-registry/" + name + ".reg" : std::string();
}

}  // namespace glider::core
