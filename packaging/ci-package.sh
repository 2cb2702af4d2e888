#!/usr/bin/env bash
# CI step: makes the Debian package from a build folder, installs it on this machine with apt
# (which pulls its runtime dependencies) and runs the installed programs once:
#   z417ctl --help, z417ctl show-settings on the installed defaults, and the utility against
#   the simulated mouse (z417-demo, offscreen) taking one screenshot. Before installing, lintian
#   checks the package: any error or warning fails the step.
#
#   packaging/ci-package.sh [BUILD_DIR]     (default: build; run as root)
#
# The programs are compiled with the folder of their installed defaults, so a build folder
# configured for another prefix than /usr is reconfigured for /usr and rebuilt first.
# The package stays installed afterwards; remove it with: apt-get remove -y z417-gaming-mouse
set -euo pipefail

SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=$(realpath -m "${1:-$SOURCE_DIR/build}")
PACKAGE=z417-gaming-mouse
SHOT=/tmp/pkg-shot.png

if [ "$(id -u)" -ne 0 ]; then
    echo "ci-package.sh installs a package: run it as root" >&2
    exit 1
fi
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    echo "ci-package.sh: $BUILD_DIR is not a configured build folder" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# dpkg-shlibdeps (dpkg-dev) and file compute the package's library dependencies.
missing=()
for tool in dpkg-shlibdeps:dpkg-dev file:file lintian:lintian; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing ${missing[*]}"
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD_DIR/CMakeCache.txt")
if [ "$prefix" != /usr ]; then
    echo "== reconfiguring $BUILD_DIR for the prefix /usr (it was ${prefix:-unset})"
    cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
# Runs a noisy step quietly and shows its output only when it fails.
quiet() {
    local log="$WORK/step.log"
    if ! "$@" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "ci-package.sh: failed: $*" >&2
        exit 1
    fi
}

echo "== building $BUILD_DIR"
quiet cmake --build "$BUILD_DIR" -j"$(nproc)"

echo "== cpack"
quiet cpack --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$WORK/out"
debs=("$WORK"/out/"$PACKAGE"_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "ci-package.sh: cpack made no single $PACKAGE .deb" >&2
    exit 1
fi
DEB=${debs[0]}
dpkg-deb --field "$DEB" Package Version Architecture Depends Recommends Suggests
cp "$DEB" "$BUILD_DIR/"
echo "copied to $BUILD_DIR/$(basename "$DEB")"

echo "== lintian $(basename "$DEB")"
lintian --fail-on error,warning --display-level ">=warning" "$DEB"

echo "== apt-get install ./$(basename "$DEB")"
apt-get update -qq || echo "ci-package.sh: apt-get update failed; using the package lists there are" >&2
if ! apt-get install -y "$DEB"; then
    # Leave dpkg usable: a package stuck half-installed would block every later apt run.
    status=$(dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null || true)
    case "$status" in
    "" | *not-installed* | *"install ok installed"*) ;;
    *)
        echo "ci-package.sh: $PACKAGE was left as '$status'; removing it" >&2
        dpkg --purge --force-remove-reinstreq "$PACKAGE" || true
        ;;
    esac
    echo "ci-package.sh: installing the package failed" >&2
    exit 1
fi
status=$(dpkg-query -W -f='${Status} ${Version}' "$PACKAGE")
echo "dpkg: $PACKAGE $status"
if [[ "$status" != "install ok installed "* ]]; then
    echo "ci-package.sh: $PACKAGE is not installed after apt-get" >&2
    exit 1
fi

echo "== installed z417ctl --help"
/usr/bin/z417ctl --help

echo "== installed z417ctl show-settings /usr/share/$PACKAGE/config.bin"
/usr/bin/z417ctl show-settings "/usr/share/$PACKAGE/config.bin"

echo "== installed z417-demo, offscreen, against the simulated mouse"
printf 'wait 200\nscreenshot %s\nquit\n' "$SHOT" >"$WORK/script.txt"
rm -f "$SHOT"
mkdir -m 700 "$WORK/runtime" "$WORK/home"
if ! (cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    XDG_RUNTIME_DIR="$WORK/runtime" HOME="$WORK/home" \
    timeout 120 /usr/bin/z417-demo --data "$WORK/d" --script "$WORK/script.txt"); then
    echo "ci-package.sh: the installed demo failed" >&2
    exit 1
fi
if [ ! -s "$SHOT" ] || [ "$(head -c 8 "$SHOT" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    echo "ci-package.sh: the installed demo wrote no PNG screenshot at $SHOT" >&2
    exit 1
fi
echo "screenshot: $SHOT ($(stat -c %s "$SHOT") bytes)"
echo "== package OK"
