#include "ui/KXImage.h"

#include "platform/handleapi.h"
#include "platform/processthreadsapi.h"
#include "platform/synchapi.h"

CKXImage::CKXImage() { className = L"CKXImage"; }

CKXImage::~CKXImage() = default;

int CKXImage::GetImageWidth() { return picture.IsNull() ? 0 : picture.GetWidth(); }

int CKXImage::GetImageHeight() { return picture.IsNull() ? 0 : picture.GetHeight(); }

void CKXImage::Paint(HDC dc) {
  if (!visible || picture.IsNull()) return;
  const RECT whole = WholePicture(picture);
  if (!transparentMode) {
    if (stretch && DrawNineGrid(dc, picture, bounds, insets, StretchImage)) return;
    CopyImage(dc, picture, whole, whole);
    return;
  }
  const ImagePrimitive draw = hasAlpha ? BlendImage : KeyImage;
  if (DrawNineGrid(dc, picture, bounds, insets, draw)) return;
  draw(dc, picture, PlacePicture(picture, bounds, stretch), whole);
}

// Repaints from the frame thread must only post WM_PAINT to the window.
CKXImageAnimate::CKXImageAnimate() { postPaint = true; }

CKXImageAnimate::~CKXImageAnimate() {
  stopRequested = 1;
  if (thread != nullptr) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
  }
  picture = CImage();  // a shallow copy of a frame: drop it before the frames go
  for (CImage* frame : frames) delete frame;
  frames.clear();
}

void CKXImageAnimate::LoadFrames(HINSTANCE module, const std::vector<WORD>& ids) {
  for (WORD id : ids) {
    auto* frame = new CImage();
    hasAlpha = LoadPngResource(module, frame, id);
    frames.push_back(frame);
  }
}

DWORD CKXImageAnimate::FrameThread(LPVOID param) {
  auto* self = static_cast<CKXImageAnimate*>(param);
  const int count = static_cast<int>(self->frames.size());
  if (count == 0) return 0;
  while (self->stopRequested == 0) {
    self->frameIndex = (self->frameIndex + 1) % count;
    self->Redraw();
    Sleep(static_cast<DWORD>(self->frameInterval));
  }
  return 0;
}

void CKXImageAnimate::Paint(HDC dc) {
  if (thread == nullptr) {
    stopRequested = 0;
    thread = CreateThread(nullptr, 0, FrameThread, this, 0, nullptr);
  }
  const int index = frameIndex;
  if (index >= 0 && index < static_cast<int>(frames.size())) picture = *frames[static_cast<size_t>(index)];
  CKXImage::Paint(dc);
}
