#!/usr/bin/env bash
# Boots Debian's kernel (linux-image-amd64) in QEMU with a busybox initramfs that loads hid,
# hid-generic and uhid, sees the host's files read-only over virtio-9p and runs SCRIPT there
# as root. Exits with the script's exit code.
#   tests/vm/vm.sh SCRIPT [ARG...]
# The kernel package is fetched once into $Z417_VM_CACHE (default ~/.cache/z417-vm).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${Z417_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/z417-vm}
script=$(realpath "$1"); shift
mkdir -p "$cache"

die() { echo "VM tests FAILED: $*" >&2; exit 1; }

fetch_kernel() {
    local pkg version
    pkg=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-/ {print $2; exit}')
    [ -n "$pkg" ] || die "cannot find Debian's kernel package: apt-cache knows no linux-image-amd64 (run apt-get update)"
    version=${pkg#linux-image-}
    if [ ! -f "$cache/$version/boot/vmlinuz-$version" ]; then
        (cd "$cache" && rm -f "$pkg"_*.deb && apt-get download "$pkg" >/dev/null 2>&1) ||
            die "cannot fetch Debian's kernel package $pkg with apt-get download"
        rm -rf "$cache/$version.tmp"
        dpkg-deb -x "$cache/$pkg"_*.deb "$cache/$version.tmp" ||
            die "cannot unpack $pkg"
        busybox depmod -b "$cache/$version.tmp" "$version" || die "depmod failed for $pkg"
        rm -rf "$cache/$version" && mv "$cache/$version.tmp" "$cache/$version"
        rm -f "$cache/$pkg"_*.deb
    fi
    echo "$version"
}

# Modules in load order: each one's dependencies (from modules.dep) before it.
module_order() {
    local dep=$1; shift
    local wanted m
    for m in "$@"; do
        local line
        line=$(grep -E "/$m\.ko:" "$dep") || die "module $m not in the kernel package"
        wanted=$(echo "${line#*:}" | tr ' ' '\n' | tac)
        echo "$wanted"
        echo "${line%%:*}"
    done | awk 'NF && !seen[$0]++'
}

make_initramfs() {
    local version=$1 out=$2 root
    local mods="$cache/$version/lib/modules/$version"
    root=$(mktemp -d)
    mkdir -p "$root/bin" "$root/modules"
    cp "$(command -v busybox)" "$root/bin/busybox"
    file "$root/bin/busybox" 2>/dev/null | grep -q dynamic && die "busybox is not static (install busybox-static)"
    cp "$here/init" "$root/init" && chmod 755 "$root/init"
    module_order "$mods/modules.dep" virtio_pci 9pnet_virtio 9p hid hid-generic uhid |
        while read -r m; do
            cp "$mods/$m" "$root/modules/"
            basename "$m"
        done >"$root/modules/order"
    (cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) >"$out"
    rm -rf "$root"
}

command -v qemu-system-x86_64 >/dev/null || die "qemu-system-x86_64 is missing (install qemu-system-x86)"
command -v busybox >/dev/null || die "busybox is missing (install busybox-static)"
version=$(fetch_kernel)
initrd="$cache/initrd-$version-$(sha1sum "$here/init" | cut -c1-8).gz"
[ -f "$initrd" ] || make_initramfs "$version" "$initrd"

# KVM hangs on some hosts (nested virtualisation); software emulation is the default and
# Z417_VM_ACCEL=kvm opts in where KVM is known to work.
accel=${Z417_VM_ACCEL:-tcg}
args=$(IFS=,; echo "$*")
log=$(mktemp)
timeout 900 qemu-system-x86_64 -accel "$accel" -m 1536 -smp 2 -nographic -no-reboot \
    -kernel "$cache/$version/boot/vmlinuz-$version" -initrd "$initrd" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 z417.script=$script z417.args=$args" \
    -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
    -nic none \
    </dev/null | tee "$log" | sed -u 's/\r$//'
rc=$(tr -d '\r' <"$log" | sed -n 's/^z417-vm: exit code \([0-9]*\)$/\1/p' | tail -1)
rm -f "$log"
[ -n "$rc" ] || die "the virtual machine ended without an exit code"
exit "$rc"
