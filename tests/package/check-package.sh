#!/usr/bin/env bash
# Builds the Debian package from a built tree, validates it, installs it into a scratch
# root and checks that the installed program plays a clip.
#   check-package.sh BUILD_DIR SAMPLE_CLIP
set -euo pipefail
# A session bus of its own: other tests of the run publish media players too, and playerctl
# would ask whichever it finds first.
if [ -z "${LUMIVANE_PRIVATE_BUS:-}" ]; then
    LUMIVANE_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
build=$(cd "$1" && pwd); sample=$2
work=$(mktemp -d /tmp/lumivane-package.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/lumivane_*.deb)
dpkg-deb -x "$deb" "$work/files"
id=org.lumivane.Lumivane

desktop-file-validate "$work/files/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$work/files/usr/share/metainfo/$id.metainfo.xml"
# Errors fail; warnings are listed.
lintian --fail-on error --allow-root "$deb"
# Every dependency is a package the archive has (a dry run of the real install).
apt-get install --simulate --no-install-recommends "$deb" >/dev/null

mkdir -p "$work/root/var/lib/dpkg/info" "$work/root/var/lib/dpkg/updates"
touch "$work/root/var/lib/dpkg/status"
dpkg --root="$work/root" --force-depends --force-script-chrootless -i "$deb" >/dev/null
binary="$work/root/usr/bin/lumivane"
test -x "$binary"
# The web and player engines are modules beside the program, not among its libraries.
test -f "$work/root/usr/lib/lumivane/lumivane-webengine.so"
test -f "$work/root/usr/lib/lumivane/lumivane-mpv.so"
if readelf -d "$binary" | grep -q -E 'libQt6WebEngine|libmpv'; then
    echo "the program links an engine itself"; exit 1
fi

# The installed program, in an account of its own, plays the clip: MPRIS says so.
home="$work/home"; mkdir -p "$home/runtime"; chmod 700 "$home/runtime"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
    QT_QPA_PLATFORM=xcb "$binary" --open "$sample" >"$work/app.log" 2>&1 &
app=$!
wait_for() {
    for _ in $(seq 1 120); do
        "$@" && return 0
        sleep 0.5
    done
    cat "$work/app.log"; return 1
}
playing() { [ "$(playerctl status 2>/dev/null)" = Playing ]; }
wait_for playing || { echo "the installed program did not play the clip"; exit 1; }
echo "installed program plays"
# A web page loads the installed module: the engine's helper process starts (the page
# itself need not load).
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
    "$binary" --open http://127.0.0.1:9/ >>"$work/app.log" 2>&1
wait_for pgrep -P "$app" -f QtWebEngineProcess >/dev/null || { echo "the installed program found no web engine"; exit 1; }
echo "installed program loads its web engine"
