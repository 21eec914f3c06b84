#!/usr/bin/env bash
# Runs one benchmark per command; builds what it needs first (Release, -j1).
#
#   bench/run.sh b1            interpretation of the reference frame: tolvane vs tclsh
#   bench/run.sh b2            first picture of the reference frame: tolvane vs F3D (under Xvfb)
#   bench/run.sh b3            loading 5,000 nodes x 1,000 steps of results: tolvane's loader vs wc -l
#   bench/run.sh b4            one result step, reference frame and 10,000 nodes: tolvane vs a
#                              minimal VTK program (under Xvfb)
#   bench/run.sh b5            the stand-in streaming 10,000 nodes x 500 steps: its wall time with
#                              tolvane's live view vs a listener that discards (under Xvfb)
#   bench/run.sh labels        switching each label kind on for the reference frame (under Xvfb)
#   bench/run.sh anim          exporting 200 steps of examples/frame3d.tcl at 1280x720 as MP4 and GIF
#                              with `tolvane --render --steps` (under Xvfb)
#   bench/run.sh b6            the modes of the reference frame (eigen 12): the stand-in's writing
#                              and Tolvane's reading of the files
#   bench/run.sh models        only writes the generated scripts
#
# Environment: RUNS (default 5; labels 3), BUILD_DIR (default build-bench), WORK_DIR (default
# /tmp/tolvane-bench), MODEL (frame, shell or brick; default frame), SIZE (default 1000x600),
# MAX_SECONDS and MAX_GIB (labels: a child past either is killed; default 120 and 6).
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
    # Other builds share the machine: wait for theirs rather than run beside them.
    if command -v flock >/dev/null; then
        flock /tmp/tolvane-build.lock cmake --build "$build" --target "$@" -j1 >/dev/null
    else
        cmake --build "$build" --target "$@" -j1 >/dev/null
    fi
}

write_models() {
    mkdir -p "$work"
    tclsh8.6 "$here/genmodel.tcl" frame 50 50 20 "$work/frame.tcl"
    tclsh8.6 "$here/genmodel.tcl" shell 200 200 "$work/shell.tcl"
    tclsh8.6 "$here/genmodel.tcl" brick 30 30 30 "$work/brick.tcl"
    # 25 x 25 x 16 = 10,000 nodes: the model of the playing and live figures.
    tclsh8.6 "$here/genmodel.tcl" frame 24 24 15 "$work/frame10k.tcl" >/dev/null
}

# Runs the rest of the line under a private X server.
under_xvfb() {
    command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (package xvfb)" >&2; exit 1; }
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
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
b3)
    build_targets tolvane_bench_load
    mkdir -p "$work"
    machine
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    "$build/bench/tolvane_bench_load" --runs "$runs" --workdir "$work"
    ;;
b4)
    build_targets tolvane_bench_step
    write_models
    machine
    under_xvfb "$build/bench/tolvane_bench_step" --runs "$runs" --size "$size" --workdir "$work" "$work/frame.tcl"
    under_xvfb "$build/bench/tolvane_bench_step" --runs "$runs" --size "$size" --workdir "$work" "$work/frame10k.tcl"
    ;;
b5)
    build_targets tolvane_bench_live
    write_models
    machine
    under_xvfb "$build/bench/tolvane_bench_live" --runs "$runs" --size "$size" --workdir "$work" "$work/frame10k.tcl"
    ;;
anim)
    build_targets tolvane tolvane-standin
    rm -rf "$work/anim" && mkdir -p "$work/anim"
    # The example frame with 200 steps instead of 100, run by the stand-in.
    sed 's/^set steps 100$/set steps 200/' "$root/examples/frame3d.tcl" >"$work/anim/frame200.tcl"
    (cd "$work/anim" && "$build/bin/tolvane" --instrument frame200.tcl --record elasticBeamColumn:localForces \
        >/dev/null && "$build/bin/tolvane-standin" frame200Temp.tcl >/dev/null 2>&1)
    machine
    # One X server for every run; the first row is start-up and one picture, for comparison.
    under_xvfb bash -c '
        render() { "$0/bin/tolvane" --render "$1/anim/frame200.tcl" --size 1280x720 --scale 20 \
                   --result elasticBeamColumn:localForces "${@:2}" 2>/dev/null; }
        echo "| output | runs | median s | min s | max s |"
        echo "|---|---|---|---|---|"
        for what in "one picture (step 200)" mp4 gif; do
            case $what in
                mp4|gif) args=(--steps 1:200 --fps 25 --output "$1/anim/frame200.$what") ;;
                *) args=(--step 200 --output "$1/anim/frame200.png") ;;
            esac
            for i in $(seq "$2"); do
                start=$(date +%s.%N)
                render "$1" "${args[@]}" || exit 1
                awk -v a="$(date +%s.%N)" -v b="$start" "BEGIN { print a - b }"
            done | sort -n | awk -v w="$what" -v n="$2" "{ t[NR] = \$1 } END {
                printf \"| %s | %d | %.2f | %.2f | %.2f |\n\", w, n, t[int((NR + 1) / 2)], t[1], t[NR] }"
        done' "$build" "$work" "$runs"
    ls -l "$work/anim"/frame200.mp4 "$work/anim"/frame200.gif
    ;;
b6)
    build_targets tolvane_bench_modes tolvane-standin
    write_models
    machine
    "$build/bench/tolvane_bench_modes" --runs "$runs" --workdir "$work" "$work/$model.tcl"
    ;;
labels)
    build_targets tolvane_bench_labels
    write_models
    machine
    under_xvfb "$build/bench/tolvane_bench_labels" --runs "${RUNS:-3}" --size "$size" --workdir "$work" \
        --max-seconds "${MAX_SECONDS:-120}" --max-gib "${MAX_GIB:-6}" "$work/$model.tcl"
    ;;
*)
    sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
