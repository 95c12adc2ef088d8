#!/usr/bin/env bash
# Builds the Debian package in Release: build/package/velmaro_<versão>_amd64.deb, whose
# library dependencies dpkg-shlibdeps computes. Install it with
#   sudo apt install ./build/package/velmaro_<versão>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVELMARO_BUILD_TESTS=OFF -DVELMARO_BUILD_BENCH=OFF
cmake --build build/package
(cd build/package && cpack -G DEB)
ls build/package/velmaro_*_amd64.deb
