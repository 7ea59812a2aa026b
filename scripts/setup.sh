#!/usr/bin/env bash
# Installs the Debian packages that building ZenLobby and running all its
# tests need. Safe to run again: when everything is installed it only checks.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

PACKAGES=(
    cmake ninja-build g++            # the build
    qt6-base-dev libgl-dev           # Qt 6 Core, Network, Gui, Widgets, Test; Qt6Gui's CMake files need the GL headers
    libgtest-dev libgmock-dev        # unit tests
    libbenchmark-dev                 # benchmarks
    ngircd                           # the IRC server the tests start on loopback ports
    clang libclang-rt-14-dev         # fuzzers and sanitizer builds
    xvfb xauth xdotool               # driving the windows on a virtual display
    fonts-dejavu-core fonts-dejavu-extra  # the faces built into the program (DejaVu Sans, its condensed bold)
    dpkg-dev lintian desktop-file-utils time  # the package check: dependencies, lintian, the desktop entry, figures
)

declare -A installed=()
while read -r package status; do
    [[ $status == installed ]] && installed[${package%%:*}]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${PACKAGES[@]}" 2>/dev/null || true)
missing=()
for package in "${PACKAGES[@]}"; do
    [[ -n ${installed[$package]:-} ]] || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then
        SUDO=(sudo --preserve-env=DEBIAN_FRONTEND)
    else
        echo "setup: run as root (or install sudo) to install: ${missing[*]}" >&2
        exit 1
    fi
fi

# The ngircd package starts a system-wide server on port 6667 when it is
# installed. The tests start servers of their own, so keep the package from
# starting one: a policy-rc.d that forbids service starts, for the length of
# this install only. One the administrator put there stays as it is.
POLICY=/usr/sbin/policy-rc.d
made_policy=0
restore_policy() {
    if [[ $made_policy -eq 1 ]]; then
        "${SUDO[@]}" rm -f "$POLICY"
    fi
}
trap restore_policy EXIT
if [[ ! -e $POLICY ]]; then
    printf '#!/bin/sh\n# Written by ZenLobby scripts/setup.sh while it installs packages.\nexit 101\n' |
        "${SUDO[@]}" tee "$POLICY" >/dev/null
    "${SUDO[@]}" chmod 755 "$POLICY"
    made_policy=1
fi

ngircd_running() {
    grep -qx ngircd /proc/[0-9]*/comm 2>/dev/null
}
ngircd_was_running=0
if ngircd_running; then
    ngircd_was_running=1
fi

"${SUDO[@]}" apt-get update
"${SUDO[@]}" apt-get install -y --no-install-recommends "${missing[@]}"

# If the policy above was not ours and let the package start its server
# anyway, stop that one server again - never one that ran before.
if [[ " ${missing[*]} " == *" ngircd "* && $ngircd_was_running -eq 0 ]] && ngircd_running; then
    "${SUDO[@]}" service ngircd stop >/dev/null 2>&1 || "${SUDO[@]}" systemctl stop ngircd >/dev/null 2>&1 || true
fi
