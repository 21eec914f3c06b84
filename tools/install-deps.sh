#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the application and the tests need.
# Quick when everything is already there: apt runs only for missing packages.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config qtbase5-dev libqt5opengl5-dev libqt5svg5-dev qt5-image-formats-plugins
  libvtk9-qt-dev libvtk9-dev tcl8.6-dev tcl8.6 libqcustomplot-dev
  libavcodec-dev libavformat-dev libswscale-dev libavutil-dev
  xvfb xauth mesa-utils libgl1-mesa-dri fonts-dejavu-core)
# The sanitizer build and the fuzzers: clang with its runtimes (libFuzzer among them).
if [ "${1:-}" = "--sanitize" ]; then
  pkgs+=(clang libclang-rt-14-dev)
fi
# The package: manual pages, its checks, and dpkg-shlibdeps for the computed dependencies.
if [ "${1:-}" = "--package" ]; then
  pkgs+=(help2man lintian appstream desktop-file-utils dpkg-dev file)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
