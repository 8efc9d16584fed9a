// Loads the client library and runs the client on this thread.
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "./libconfig.so";
  void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    std::fprintf(stderr, "glider-host: %s\n", dlerror());
    return 1;
  }
  using StartFn = void (*)();
  auto start = reinterpret_cast<StartFn>(dlsym(lib, "StartGlider"));
  if (!start) {
    std::fprintf(stderr, "glider-host: no StartGlider in %s\n", path);
    dlclose(lib);
    return 1;
  }
  start();
  dlclose(lib);
  return 0;
}
