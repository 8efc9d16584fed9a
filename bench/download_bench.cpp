// Google Benchmark form of bench/download_throughput.sh: the same 200 MB
// loopback download through our downloader and through curl, each run as a
// child process and timed from fork to reaping. peak_rss_kb is the largest
// ru_maxrss of the children; bytes_per_second compares the two sides.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/child_run.h"
#include "bench/server_process.h"

namespace {

constexpr long long kBodySize = 200000000;

std::string BodyUrl() {
  static glider::bench::ServerProcess server(GLIDER_BENCH_BIN_DIR "/glider-bench-server");
  if (server.Port() == 0) return "";
  return "http://127.0.0.1:" + std::to_string(server.Port()) + "/bytes?size=" + std::to_string(kBodySize);
}

void RunDownloads(benchmark::State& state, std::vector<std::string> argv) {
  std::string url = BodyUrl();
  if (url.empty()) {
    state.SkipWithError("the loopback server did not start");
    return;
  }
  argv.push_back(url);
  long peak = 0;
  for (auto _ : state) {
    auto run = glider::bench::RunChild(argv, true);
    if (run.exitCode != 0) {
      state.SkipWithError("the download failed");
      return;
    }
    state.SetIterationTime(run.seconds);
    peak = std::max(peak, run.peakRssKb);
  }
  state.SetBytesProcessed(state.iterations() * kBodySize);
  state.counters["peak_rss_kb"] = static_cast<double>(peak);
}

void BM_OurDownloader(benchmark::State& state) {
  RunDownloads(state, {GLIDER_BENCH_BIN_DIR "/glider-bench-download"});
}
void BM_Curl(benchmark::State& state) { RunDownloads(state, {"curl", "-sS", "-o", "/dev/null"}); }

BENCHMARK(BM_OurDownloader)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Curl)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
