// glider-bench-measure PROGRAM [ARGS...]: runs the program and prints
// "seconds peak_rss_kb exit_code" on one line; exits with the child's code.
#include <cstdio>

#include "bench/child_run.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  auto run = glider::bench::RunChild(std::vector<std::string>(argv + 1, argv + argc), true);
  if (!run.started) {
    std::fprintf(stderr, "could not start %s\n", argv[1]);
    return 127;
  }
  std::printf("%.6f %ld %d\n", run.seconds, run.peakRssKb, run.exitCode);
  return run.exitCode < 0 ? 1 : run.exitCode;
}
