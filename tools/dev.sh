#!/usr/bin/env bash
# One entry point for developers and CI:
#   tools/dev.sh run    install what is missing, build, start Tolvane on an example model
#   tools/dev.sh test   install what is missing, build, run every test under Xvfb
#   tools/dev.sh build  install and build only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${TOLVANE_BUILD_DIR:-$root/build}"
jobs="${TOLVANE_JOBS:-$(nproc)}"

install_deps() {
  if [ "$(id -u)" = 0 ]; then
    bash "$root/tools/install-deps.sh"
  else
    echo "Not root: assuming the packages of tools/install-deps.sh are installed."
  fi
}

configure_and_build() {
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  cmake --build "$build" -j "$jobs"
}

case "${1:-}" in
  run)
    install_deps
    configure_and_build
    shift
    script="${1:-$root/examples/frame3d.tcl}"
    if [ -n "${DISPLAY:-}" ]; then
      exec "$build/bin/tolvane" "$script"
    else
      echo "No DISPLAY: starting Tolvane on a virtual X server."
      exec xvfb-run -a -s "-screen 0 1600x1000x24" "$build/bin/tolvane" "$script"
    fi
    ;;
  test)
    install_deps
    configure_and_build
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
    chmod 700 "$XDG_RUNTIME_DIR"
    cd "$build"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs"
    ;;
  build)
    install_deps
    configure_and_build
    ;;
  *)
    echo "usage: tools/dev.sh run [SCRIPT] | test | build" >&2
    exit 2
    ;;
esac
