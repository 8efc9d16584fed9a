#include "app/GlobalModule.h"
#include "platform/winresource.h"

CAppModule _AppModule;

int RunClient(HINSTANCE instance) {
  CGlobalModule& m = Module();
  _AppModule.Init(nullptr, instance);
  m.hInstance = instance;
  LoadStringW(instance, 103, m.title, 100);
  LoadStringW(instance, 109, m.windowClass, 100);
  RegisterWindowClass(instance);
  int result = m.Run();
  _AppModule.Term();
  return result;
}
