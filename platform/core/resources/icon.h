// The picture behind an HICON, for the driver (window and tray icons).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/windef.h"

namespace glider::core {

struct IconPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // straight (not premultiplied) R, G, B, A, top row first
};

// Null when the handle is not an icon of ours.
const IconPicture* GetIconPicture(HICON icon);
// An icon made from a picture (e.g. by the driver for its own use); DestroyIcon frees it.
HICON CreateIconFromPicture(IconPicture picture);

}  // namespace glider::core
