// The login window's skin: frameless colour-keyed window, frame, buttons, status line.
#include "app/GlobalModule.h"
#include "forms/FormLogin.h"
#include "res/ids.h"

namespace {

namespace ids = glider::res::ids;

constexpr COLORREF kStatusColor = 0x0000FFFF;
constexpr int kStatusFontSize = 26;
constexpr int kFrameInset = 5;

struct ButtonSkin {
  CKXButton CFormLogin::*button;
  UINT normal, hover;
  RECT rect;
};

// In the order they are added to the form.
constexpr ButtonSkin kButtons[] = {
    {&CFormLogin::minimizeButton, ids::kPngLoginMin, ids::kPngLoginMinHover, {943, 234, 972, 263}},
    {&CFormLogin::closeButton, ids::kPngLoginClose, ids::kPngLoginCloseHover, {975, 213, 1007, 245}},
    {&CFormLogin::siteButton, ids::kPngLoginSite, ids::kPngLoginSiteHover, {366, 254, 491, 288}},
    {&CFormLogin::payButton, ids::kPngLoginPay, ids::kPngLoginPayHover, {642, 255, 767, 289}},
    {&CFormLogin::serviceButton, ids::kPngLoginService, ids::kPngLoginServiceHover, {780, 255, 904, 289}},
    {&CFormLogin::siteButton2, ids::kPngLoginSite2, ids::kPngLoginSite2Hover, {504, 255, 628, 289}},
};

constexpr RECT kStatusRect{472, 469, 792, 495};

}  // namespace

void CFormLogin::InitSkin() {
  CGlobalModule& m = Module();
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & 0x7F30FF7F) | 0x000A0000));
  DWORD ex = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  ex = (ex & ~0x181u) | WS_EX_LAYERED | (m.topMost == 1 ? WS_EX_TOPMOST : 0);
  SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(ex));
  SetLayeredWindowAttributes(window, kColorKey, 0, LWA_COLORKEY);

  const RECT frame{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  frameImage.hasAlpha = LoadPngResource(m.hInstance, &frameImage.picture, ids::kPngLoginFrame);
  frameImage.transparentMode = false;
  frameImage.stretch = true;
  frameImage.insets = Insets{kFrameInset, kFrameInset, kFrameInset, kFrameInset};
  frameImage.SetRect(&frame);
  AddControl(&frameImage);

  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  for (const ButtonSkin& skin : kButtons) {
    CKXButton& b = this->*skin.button;
    b.SetImages(m.hInstance, skin.normal, skin.hover, skin.hover);
    b.SetRect(&skin.rect);
    b.cursor = hand;
    AddControl(&b);
  }

  statusLabel.SetRect(&kStatusRect);
  statusLabel.SetTextColor(kStatusColor, false);
  statusLabel.SetUnderline(1, false);
  statusLabel.SetFontSize(kStatusFontSize, 0, false);
  statusLabel.cursor = hand;
  AddControl(&statusLabel);
}
