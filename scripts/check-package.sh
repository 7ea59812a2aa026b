#!/usr/bin/env bash
# The package checked as a distribution would: builds the .deb from the build
# folder, runs lintian and desktop-file-validate over it, unpacks it into a
# scratch root (nothing is installed on this machine) and runs the unpacked
# program there as the unprivileged user nobody, with a scratch HOME: it
# starts, the bot editor's Save writes the player's own bot.dat, and a second
# start reads it back. Then it prints start-up time and memory against the
# build tree's, for the record: nothing is judged on them.
#
#   bash scripts/check-package.sh [build dir, default build]
#
# Run as root (runuser). The build folder needs the tests (the probe plugin).
# ZEN_PACKAGE_RUNS: timed starts of each program (default 5).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
RUNS=${ZEN_PACKAGE_RUNS:-5}

fail() {
    echo "check-package: $*" >&2
    exit 1
}

[[ $(id -u) -eq 0 ]] || fail "run as root: the unpacked program runs as nobody through runuser"
cmake --build "$BUILD" --target package >"$BUILD/package.log" 2>&1 || { cat "$BUILD/package.log"; fail "cpack failed"; }
deb=$(ls -t "$BUILD"/zenlobby_*_amd64.deb | head -n 1)
echo "package: ${deb##*/}, $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends | sed 's/^/Depends: /'

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
mkdir -p "$scratch/home" "$scratch/lintian-home"
chown nobody "$scratch/home" "$scratch/lintian-home"
# lintian as nobody, who may not read the build folder (a clone in /root): a copy.
cp "$deb" "$scratch/"
lintian_ok=1
runuser -u nobody -- env HOME="$scratch/lintian-home" lintian --fail-on error,warning "$scratch/${deb##*/}" \
    >"$scratch/lintian" 2>&1 || lintian_ok=0
echo "lintian: $(wc -l <"$scratch/lintian") lines"
sed 's/^/  /' "$scratch/lintian"
[[ $lintian_ok -eq 1 ]] || fail "lintian found errors or warnings"
dpkg-deb -x "$deb" "$scratch/root"
desktop-file-validate "$scratch/root/usr/share/applications/zenlobby.desktop"
mkdir -p "$scratch/plugins/generic"
cp "$BUILD"/probe/generic/libzenprobe.so "$scratch/plugins/generic/"

# probe <user> <command...>: runs the program with the probe plugin under the
# offscreen platform, ZEN_PROBE_ADD passed on when set; its report goes to
# stdout, the standard error to $scratch/stderr.
probe() {
    local add=()
    [[ -v ZEN_PROBE_ADD ]] && add=(ZEN_PROBE_ADD="$ZEN_PROBE_ADD")
    runuser -u "$1" -- env -i PATH=/usr/bin:/bin HOME="$scratch/home" QT_QPA_PLATFORM=offscreen \
        QT_PLUGIN_PATH="$scratch/plugins" QT_QPA_GENERIC_PLUGINS=zenprobe "${add[@]}" \
        timeout 20 "${@:2}" 2>"$scratch/stderr" || { cat "$scratch/stderr" >&2; fail "${*:2} as $1 failed"; }
}
program=$scratch/root/usr/bin/zenlobby
own=$scratch/home/.local/share/ZenLobby/ZenLobby
installed=$scratch/root/usr/lib/zenlobby/bot.dat
record='package check|it works'

# The first start copies the installed bot.dat to the player's folder, where Save writes.
ZEN_PROBE_ADD=$record probe nobody "$program"
cmp -s <(cat "$installed"; printf '%s\r\n' "$record") "$own/bot.dat" ||
    fail "the first start's Save did not write the installed bot.dat and one record to $own/bot.dat"
# The second starts with it and its editor shows it whole: saving it again changes nothing.
cp "$own/bot.dat" "$scratch/saved"
ZEN_PROBE_ADD= probe nobody "$program"
cmp -s "$scratch/saved" "$own/bot.dat" || fail "the second start did not read the saved bot.dat back"
# A picture in the player's folder is read instead of the installed one (this one is no picture).
echo "no picture" >"$own/huts.jpg"
grep -qx 'message box: Could Not Load Data Files' < <(probe nobody "$program" 2>/dev/null || true) ||
    fail "the player's huts.jpg was not read"
rm "$own/huts.jpg"
# A copy the player may write, unpacked from the .tar.gz, keeps its files beside the program.
mkdir "$scratch/portable"
tar -xzf "$(ls -t "$BUILD"/zenlobby-*.tar.gz | head -n 1)" -C "$scratch/portable" --strip-components 1
chown -R nobody "$scratch/portable"
ZEN_PROBE_ADD=$record probe nobody "$scratch/portable/bin/zenlobby"
cmp -s "$scratch/saved" "$scratch/portable/lib/zenlobby/bot.dat" && cmp -s "$scratch/saved" "$own/bot.dat" ||
    fail "the portable copy did not save beside itself"
echo "unpacked as nobody: starts, keeps bot.dat and pictures in the player's folder; a portable copy beside itself"

# figures <user> <program>: the median wall time (s) and peak resident memory (kB) of
# RUNS runs from the start to the bot editor shown, as GNU time measures them.
figures() {
    local times=() memory=() t m
    for ((i = 0; i < RUNS; i++)); do
        probe "$1" /usr/bin/time -f '%e %M' -- "$2" >/dev/null
        read -r t m < <(tail -n 1 "$scratch/stderr")
        times+=("$t")
        memory+=("$m")
    done
    echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")" \
        "$(printf '%s\n' "${memory[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")"
}
read -r unpacked_s unpacked_kb < <(figures nobody "$program")
read -r tree_s tree_kb < <(figures "$(id -un)" "$BUILD/bin/zenlobby")
awk -v us="$unpacked_s" -v uk="$unpacked_kb" -v ts="$tree_s" -v tk="$tree_kb" -v n="$RUNS" 'BEGIN {
    printf "start to bot editor shown, median of %d: unpacked %.2f s, build tree %.2f s (ratio %.2f)\n", n, us, ts, us / ts
    printf "peak resident memory, median of %d:      unpacked %d kB, build tree %d kB (ratio %.2f)\n", n, uk, tk, uk / tk
}'
