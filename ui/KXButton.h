// A label over a picture per visual state (normal, hover, pressed, their checked
// variants, disabled). The owning form acts on clicks; the button only looks.
#pragma once

#include "ui/KXLabel.h"
#include "ui/ResourceImages.h"

class CKXButton : public CKXLabel {
 public:
  // Visual states; kRefresh applies the stored state's pictures again and is never stored.
  enum State { kNormal = 0, kHover = 1, kPressed = 2, kReleased = 3, kRefresh = 4 };

  CKXButton();
  ~CKXButton() override;
  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
  bool OnLButtonUp(UINT keyFlags, const POINT* pt) override;
  bool OnMouseMove(UINT keyFlags, const POINT* pt) override;
  void Paint(HDC dc) override;
  void SetEnabled(bool enabled, bool redraw) override;

  virtual int GetImageWidth();
  virtual int GetImageHeight();
  virtual void SetState(int state, bool redraw);

  void SetImages(HINSTANCE module, UINT normalId, UINT hoverId, UINT pressedId);
  void SetChecked(bool checked);

  int state = kNormal;
  bool transparentMode = true;
  bool stretch = true;
  bool checked = false;
  bool hasAlpha = false;
  Insets insets;
  Insets captionInsets;
  CImage currentImage;  // shares the bitmap of one of the images below
  CImage normalImage, hoverImage, pressedImage;
  CImage disabledImage;
  CImage checkedImage, checkedHoverImage, checkedPressedImage;
  CImage checkedDisabledImage;

 private:
  void DrawCaption(HDC dc);
  bool Apply(const CImage& picture);
};
