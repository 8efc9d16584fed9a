#!/usr/bin/env bash
# Starts the platform simulator on loopback and runs the client against it.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
PORT=${GLIDER_SIM_PORT:-8730}
python3 tools/simulator/simulator.py --port "$PORT" --log "$BUILD/simulator-requests.jsonl" &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $PORT), 0.2)" 2>/dev/null; then break; fi
  sleep 0.1
done
"$BUILD/glider" "$@"
