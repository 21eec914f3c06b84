#!/usr/bin/env bash
# One entry point for developers and CI:
#   tools/dev.sh run    install what is missing, build, start Tolvane on an example model
#   tools/dev.sh test   install what is missing, build, run every test under Xvfb
#   tools/dev.sh build  install and build only
#   tools/dev.sh sanitize  install, build with address and undefined-behaviour checks in
#                          build-sanitize (clang when there is one), run every test, then each
#                          fuzz target for FUZZ_SECONDS (default 60) on its seed corpus
#   tools/dev.sh package   install, make a Release build without tests in build-package, build the
#                          Debian package there with CPack and check it (lintian, a scratch install)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${TOLVANE_BUILD_DIR:-$root/build}"
jobs="${TOLVANE_JOBS:-$(nproc)}"

install_deps() {
  if [ "$(id -u)" = 0 ]; then
    bash "$root/tools/install-deps.sh" "$@"
  else
    echo "Not root: assuming the packages of tools/install-deps.sh are installed."
  fi
}

configure_and_build() {
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$build" -j "$jobs"
}

private_runtime_dir() {
  export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
  chmod 700 "$XDG_RUNTIME_DIR"
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
    private_runtime_dir
    cd "$build"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs"
    ;;
  sanitize)
    install_deps --sanitize
    build="${TOLVANE_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
    compilers=()
    command -v clang++ >/dev/null && compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    configure_and_build -DTOLVANE_SANITIZE=ON "${compilers[@]}"
    private_runtime_dir
    # Every report is fatal; leaks only in the system libraries of tests/sanitize/lsan.supp are
    # let through. fast_unwind_on_malloc=0 would hang with Mesa.
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0"
    export LSAN_OPTIONS="suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export MESA_SHADER_CACHE_DISABLE=true
    # Mesa unloads its driver before the leak check runs, leaving its leaks without names that a
    # suppression could match; loaded up front, it stays, and lsan.supp names it.
    mesa_driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1 || true)
    [ -n "$mesa_driver" ] && export LD_PRELOAD="$mesa_driver"
    cd "$build"
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs"
    if command -v clang++ >/dev/null; then
      for target in "$build"/tests/fuzz/fuzz_*; do
        # The build also leaves the targets' *_autogen folders here.
        [ -f "$target" ] && [ -x "$target" ] || continue
        bash "$root/bench/fuzz.sh" "$(basename "$target")" "${FUZZ_SECONDS:-60}"
      done
    fi
    ;;
  build)
    install_deps
    configure_and_build
    ;;
  package)
    install_deps --package
    build="${TOLVANE_PACKAGE_BUILD_DIR:-$root/build-package}"
    # Debian's hardening flags, as a package build of the distribution would use them.
    for v in CFLAGS CXXFLAGS CPPFLAGS LDFLAGS; do export "$v=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$v")"; done
    export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
    configure_and_build -DCMAKE_BUILD_TYPE=Release -DTOLVANE_TESTS=OFF
    rm -f "$build"/tolvane_*.deb
    (cd "$build" && cpack -G DEB)
    bash "$root/tools/check-package.sh" "$build"/tolvane_*.deb
    ;;
  *)
    echo "usage: tools/dev.sh run [SCRIPT] | test | build | sanitize | package" >&2
    exit 2
    ;;
esac
