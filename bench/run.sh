#!/usr/bin/env bash
# Runs one benchmark per command; builds what it needs first (Release, -j1).
#
#   bench/run.sh b1            interpretation of the reference frame: tolvane vs tclsh
#   bench/run.sh b2            first picture of the reference frame: tolvane vs F3D (under Xvfb)
#   bench/run.sh models        only writes the generated scripts
#
# Environment: RUNS (default 5), BUILD_DIR (default build-bench), WORK_DIR (default
# /tmp/tolvane-bench), MODEL (frame, shell or brick; default frame), SIZE (default 1000x600).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${BUILD_DIR:-$root/build-bench}
work=${WORK_DIR:-/tmp/tolvane-bench}
runs=${RUNS:-5}
model=${MODEL:-frame}
size=${SIZE:-1000x600}

build_targets() {
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$build" --target "$@" -j1 >/dev/null
}

write_models() {
    mkdir -p "$work"
    tclsh8.6 "$here/genmodel.tcl" frame 50 50 20 "$work/frame.tcl"
    tclsh8.6 "$here/genmodel.tcl" shell 200 200 "$work/shell.tcl"
    tclsh8.6 "$here/genmodel.tcl" brick 30 30 30 "$work/brick.tcl"
}

machine() {
    echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'),"\
         "$(free -h | awk '/^Mem:/ {print $2}') memory, load $(cut -d' ' -f1-3 /proc/loadavg)"
}

case "${1:-}" in
models)
    write_models
    ls -l "$work"/*.tcl
    ;;
b1)
    command -v tclsh8.6 >/dev/null || { echo "tclsh8.6 is needed" >&2; exit 1; }
    build_targets tolvane_bench_interpret
    write_models
    machine
    "$build/bench/tolvane_bench_interpret" --runs "$runs" "$work/$model.tcl"
    ;;
b2)
    if ! command -v f3d >/dev/null; then
        apt-get update >/dev/null && apt-get install -y --no-install-recommends f3d >/dev/null
    fi
    command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (package xvfb)" >&2; exit 1; }
    build_targets tolvane_bench_picture
    write_models
    machine
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$build/bench/tolvane_bench_picture" --runs "$runs" --size "$size" --workdir "$work" "$work/$model.tcl"
    ;;
*)
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
