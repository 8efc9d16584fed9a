// A picture inside the control's bounds (nine-grid, stretched or at natural size),
// and the animated variant that steps through frames on a worker thread.
#pragma once

#include <atomic>
#include <vector>

#include "ui/KXBaseControl.h"
#include "ui/ResourceImages.h"

class CKXImage : public CKXBaseControl {
 public:
  CKXImage();
  ~CKXImage() override;
  void Paint(HDC dc) override;
  virtual int GetImageWidth();
  virtual int GetImageHeight();

  bool hasAlpha = false;
  CImage picture;
  bool transparentMode = true;
  Insets insets;
  bool stretch = true;
};

class CKXImageAnimate : public CKXImage {
 public:
  CKXImageAnimate();
  ~CKXImageAnimate() override;
  void Paint(HDC dc) override;

  // Frames are loaded before the first paint and never change while the thread runs.
  void LoadFrames(HINSTANCE module, const std::vector<WORD>& ids);

  HANDLE thread = nullptr;
  std::atomic<int> stopRequested{0};
  std::atomic<int> frameIndex{-1};
  std::vector<CImage*> frames;
  int frameInterval = 100;

 private:
  static DWORD FrameThread(LPVOID control);
};
