// Painting cost of the login window's skin on the headless driver, each case beside one
// cairo paint of a surface of the same size in the same run.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include "app/GlobalModule.h"
#include "platform/headless/headless_driver.h"
#include "platform/winresource.h"

namespace {

constexpr int kWidth = 1084;
constexpr int kHeight = 685;

// The login window with its skin only (no page), shown off any screen.
CFormLogin& LoginSkin() {
  static CGlobalModule* module = [] {
    auto* m = new CGlobalModule();
    LoadStringW(nullptr, 103, m->title, 100);
    LoadStringW(nullptr, 109, m->windowClass, 100);
    RegisterWindowClass(nullptr);
    const RECT bounds{0, 0, kWidth, kHeight};
    m->formLogin.SetRect(&bounds);
    m->formLogin.Create(m->windowClass, m->title, nullptr, nullptr);
    m->formLogin.InitSkin();
    ShowWindow(m->formLogin.GetHwnd(), SW_SHOWNA);
    UpdateWindow(m->formLogin.GetHwnd());
    return m;
  }();
  return module->formLogin;
}

void BM_LoginSkinFullRepaint(benchmark::State& state) {
  HWND h = LoginSkin().GetHwnd();
  for (auto _ : state) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
  state.SetLabel("1084x685");
}
BENCHMARK(BM_LoginSkinFullRepaint);

void BM_ButtonHoverRepaint(benchmark::State& state) {
  CKXButton& button = LoginSkin().closeButton;
  int s = 0;
  for (auto _ : state) {
    s ^= 1;
    button.SetState(s, true);
  }
  state.SetLabel("32x32");
}
BENCHMARK(BM_ButtonHoverRepaint);

// One cairo paint of an ARGB32 surface onto another of the same size.
void BM_CairoPaint(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  cairo_surface_t* src = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* fill = cairo_create(src);  // half-transparent grey, so the paint blends every pixel
  cairo_set_source_rgba(fill, 0.5, 0.5, 0.5, 0.5);
  cairo_paint(fill);
  cairo_destroy(fill);
  cairo_t* cr = cairo_create(dst);
  cairo_set_source_surface(cr, src, 0, 0);
  for (auto _ : state) {
    cairo_paint(cr);
    cairo_surface_flush(dst);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(dst);
  cairo_surface_destroy(src);
}
BENCHMARK(BM_CairoPaint)->Args({kWidth, kHeight})->Args({32, 32});

}  // namespace

int main(int argc, char** argv) {
  glider::headless::Install();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
