// LoadImageW for bitmap resources (stored as PNG bytes) and LoadStringW.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "platform/core/gdi/png_picture.h"
#include "platform/core/resources/module.h"
#include "platform/core/text/utf.h"
#include "platform/winresource.h"

using namespace glider::core;

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int, int, UINT) {
  if (type == IMAGE_ICON) return reinterpret_cast<HANDLE>(LoadIconW(instance, name));
  if (type != IMAGE_BITMAP) return nullptr;
  const ResourceEntry* entry = FindEntry(instance, ResourceKind::Bitmap, name);
  PngPicture picture;
  if (entry == nullptr || !DecodePng(entry->data, entry->size, &picture)) return nullptr;
  // A bitmap carries no alpha channel, whatever the file held.
  if (picture.alpha) {
    const size_t n = static_cast<size_t>(picture.width) * picture.height;
    for (size_t i = 0; i < n; ++i)
      for (int c = 0; c < 3; ++c) picture.pixels[i * 3 + c] = picture.pixels[i * 4 + c];
    picture.pixels.resize(n * 3);
    picture.alpha = false;
  }
  return reinterpret_cast<HANDLE>(CreateBitmapFromPng(picture));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  return reinterpret_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, 0));
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max) {
  if (buffer == nullptr || max < 0) return 0;
  const ResourceEntry* entry = ModuleOf(instance).Find(ResourceKind::String, id);
  if (entry == nullptr) {
    if (max > 0) buffer[0] = 0;
    return 0;
  }
  // Wide copies live as long as the process, for the read-only pointer form.
  static std::mutex lock;
  static auto* texts = new std::map<const ResourceEntry*, std::wstring>();
  const std::wstring* text;
  {
    std::lock_guard guard(lock);
    auto [it, added] = texts->try_emplace(entry);
    if (added)
      it->second = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(entry->data), entry->size));
    text = &it->second;
  }
  if (max == 0) {
    *reinterpret_cast<const wchar_t**>(buffer) = text->c_str();
    return static_cast<int>(text->size());
  }
  const int n = std::min<int>(static_cast<int>(text->size()), max - 1);
  text->copy(buffer, static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}
