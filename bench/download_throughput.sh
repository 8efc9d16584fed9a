#!/usr/bin/env bash
# Downloads one large body from a loopback server through our downloader
# (HTTPDownloader's queue and workers, saving to /dev/null) and with
# `curl -o /dev/null`, alternating, in the same run against the same address.
# Both sides run as child processes of glider-bench-measure, which takes wall
# time from fork to reaping and the child's own peak RSS (ru_maxrss via
# wait4), so start-up and memory are counted the same way for each.
#
# Usage: bench/download_throughput.sh [BUILD_DIR]   (default: build-bench)
# Environment: SIZE bytes (default 200000000), ROUNDS per side (default 5).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
size=${SIZE:-200000000}
rounds=${ROUNDS:-5}
targets=(glider-bench-measure glider-bench-server glider-bench-download)

# An optimised build without sanitizers: ASan's shadow memory would swamp the RSS figures.
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIDER_BUILD_TESTS=OFF >/dev/null
fi
if grep -q '^GLIDER_SANITIZE:BOOL=ON' "$build/CMakeCache.txt"; then
  echo "warning: $build is built with sanitizers; memory and speed figures are not representative" >&2
fi
ninja -C "$build" "${targets[@]}" >/dev/null
bin=$build/bench

ready=$(mktemp)
"$bin/glider-bench-server" >"$ready" &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$ready"' EXIT
for _ in $(seq 100); do
  grep -q '^listening on ' "$ready" && break
  kill -0 "$server" 2>/dev/null || { echo "the server did not start" >&2; exit 1; }
  sleep 0.05
done
port=$(awk '/^listening on /{print $3}' "$ready")
[[ -n $port ]] || { echo "the server did not report its port" >&2; exit 1; }
url="http://127.0.0.1:$port/bytes?size=$size"
# Both sides talk to the loopback server directly.
unset http_proxy HTTP_PROXY all_proxy ALL_PROXY

ours=() theirs=()
for _ in $(seq "$rounds"); do
  ours+=("$("$bin/glider-bench-measure" "$bin/glider-bench-download" "$url" || true)")
  theirs+=("$("$bin/glider-bench-measure" curl -sS -o /dev/null "$url" || true)")
done

# Each line: seconds peak_rss_kb exit_code. The median time and the largest peak per side.
summary() {
  printf '%s\n' "$@" | sort -n | awk -v size="$size" '
    $3 != 0 { failed = 1 }
    { t[NR] = $1; if ($2 > rss) rss = $2 }
    END {
      if (failed || NR == 0) { print "failed"; exit }
      median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      printf "%.1f %.3f %d\n", size / median / 1e6, median, rss
    }'
}
read -r our_mbs our_s our_rss <<<"$(summary "${ours[@]}")"
read -r curl_mbs curl_s curl_rss <<<"$(summary "${theirs[@]}")"
if [[ $our_mbs == failed || $curl_mbs == failed ]]; then
  echo "a download failed: ours ${ours[*]} / curl ${theirs[*]}" >&2
  exit 1
fi

echo "$((size / 1000000)) MB from $url, median of $rounds rounds per side"
printf '%-10s %10s %10s %14s\n' side "MB/s" seconds "peak RSS KiB"
printf '%-10s %10s %10s %14s\n' ours "$our_mbs" "$our_s" "$our_rss"
printf '%-10s %10s %10s %14s\n' curl "$curl_mbs" "$curl_s" "$curl_rss"
awk -v a="$our_mbs" -v b="$curl_mbs" -v r="$our_rss" -v c="$curl_rss" \
  'BEGIN { printf "ratio ours/curl: throughput %.2f, peak RSS %.2f\n", a / b, r / c }'
