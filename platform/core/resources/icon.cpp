// Icon groups. Our icon resources hold one PNG picture each.
#include "platform/core/resources/icon.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/core/gdi/handle_registry.h"
#include "platform/core/gdi/png_picture.h"
#include "platform/core/resources/module.h"
#include "platform/winresource.h"

namespace glider::core {
namespace {

struct Icon {
  IconPicture picture;
  bool shared = false;
};

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

HandleRegistry& Live() {
  static auto* live = new HandleRegistry();
  return *live;
}

// Resource icons load once and stay for the whole run, as shared icons do.
std::map<const ResourceEntry*, Icon*>& Loaded() {
  static auto* loaded = new std::map<const ResourceEntry*, Icon*>();
  return *loaded;
}

HICON Publish(Icon* icon) {
  Live().Add(icon);
  return reinterpret_cast<HICON>(icon);
}

}  // namespace

const IconPicture* GetIconPicture(HICON handle) {
  return Live().Contains(handle) ? &reinterpret_cast<Icon*>(handle)->picture : nullptr;
}

HICON CreateIconFromPicture(IconPicture picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgba.size() != static_cast<size_t>(picture.width) * picture.height * 4)
    return nullptr;
  std::lock_guard guard(Lock());
  return Publish(new Icon{std::move(picture), false});
}

}  // namespace glider::core

using namespace glider::core;

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  const ResourceEntry* entry = FindEntry(instance, ResourceKind::Icon, name);
  if (entry == nullptr) return nullptr;
  std::lock_guard guard(Lock());
  auto found = Loaded().find(entry);
  if (found != Loaded().end()) return reinterpret_cast<HICON>(found->second);
  PngPicture png;
  if (!DecodePng(entry->data, entry->size, &png)) return nullptr;
  auto* icon = new Icon{IconPicture{png.width, png.height, {}}, true};
  const size_t n = static_cast<size_t>(png.width) * png.height;
  icon->picture.rgba.resize(n * 4);
  const int step = png.alpha ? 4 : 3;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* s = &png.pixels[i * step];
    uint8_t* d = &icon->picture.rgba[i * 4];
    d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = png.alpha ? s[3] : 255;
  }
  Loaded()[entry] = icon;
  return Publish(icon);
}

BOOL DestroyIcon(HICON handle) {
  std::lock_guard guard(Lock());
  if (!Live().Contains(handle)) return FALSE;
  auto* icon = reinterpret_cast<Icon*>(handle);
  if (icon->shared) return TRUE;
  Live().Remove(handle);
  delete icon;
  return TRUE;
}
