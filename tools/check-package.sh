#!/usr/bin/env bash
# Checks a built package: lintian finds no error, and the programs run from a scratch root the
# package was unpacked into (dpkg -x), without any of the build tree.
#   tools/check-package.sh build-package/tolvane_0.1.0_amd64.deb
set -euo pipefail
deb="$1"
echo "== lintian $(basename "$deb")"
lintian --fail-on error --tag-display-limit 0 "$deb" || { echo "lintian found errors" >&2; exit 1; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
export HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
bin="$root/usr/bin"
echo "== $bin/tolvane --version"
"$bin/tolvane" --version | grep -q '^Tolvane [0-9]'
echo "== tolvane --dump-model on an installed example"
cp "$root/usr/share/tolvane/examples/frame3d.tcl" "$root/frame3d.tcl"
"$bin/tolvane" --dump-model "$root/frame3d.tcl" | grep -q '"nodeTags"'
echo "== $bin/tolvane-standin --help"
"$bin/tolvane-standin" --help | grep -q 'does no structural analysis'
echo "== the window, installed: settings in the user's folder, never beside the binary"
xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM timeout 10 "$bin/tolvane" "$root/frame3d.tcl" >/dev/null 2>&1 || true
[ -s "$XDG_CONFIG_HOME/Tolvane/config.ini" ] && [ ! -e "$bin/config.ini" ] ||
  { echo "settings not in $XDG_CONFIG_HOME/Tolvane" >&2; exit 1; }
grep -q "^OSPath=$bin/tolvane-standin" "$XDG_CONFIG_HOME/Tolvane/config.ini" || command -v OpenSees >/dev/null ||
  { echo "the stand-in beside the binary is not the default solver" >&2; exit 1; }
for f in usr/share/applications/org.tolvane.Tolvane.desktop usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml \
         usr/share/man/man1/tolvane.1.gz usr/share/tolvane/codeSnippet.txt \
         usr/share/icons/hicolor/scalable/apps/org.tolvane.Tolvane.svg; do
  [ -s "$root/$f" ] || { echo "missing in the package: /$f" >&2; exit 1; }
done
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml" >/dev/null
desktop-file-validate "$root/usr/share/applications/org.tolvane.Tolvane.desktop"
echo "Package checks passed: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
