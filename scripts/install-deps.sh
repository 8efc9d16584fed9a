#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  ca-certificates cmake ninja-build g++ pkg-config python3 \
  libgtk-3-dev libwebkit2gtk-4.1-dev libcairo2-dev libpango1.0-dev libpng-dev \
  libcurl4-openssl-dev libjsoncpp-dev libsodium-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  xvfb xauth openbox xcompmgr xdotool x11-utils trayer imagemagick fonts-wqy-zenhei fonts-dejavu-core curl >/dev/null
