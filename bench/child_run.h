// Runs a program as a child and measures it the way the benchmarks compare
// both sides: wall time from fork to reaping, and the child's own peak RSS.
#pragma once

#include <string>
#include <vector>

namespace glider::bench {

struct ChildRun {
  bool started = false;
  int exitCode = -1;  // -1 when the child did not exit normally
  double seconds = 0;
  long peakRssKb = 0;  // ru_maxrss of this child alone, from wait4
};

// Discards the child's standard output when `quiet`.
ChildRun RunChild(const std::vector<std::string>& argv, bool quiet);

}  // namespace glider::bench
