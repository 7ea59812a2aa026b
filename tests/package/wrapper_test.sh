#!/bin/sh
# The example eaexec.exe for Linux starts the game's launcher under Wine, in
# the game's folder, with the lobby's arguments exactly as they came.
#   sh wrapper_test.sh <eaexec.exe>
set -eu
wrapper=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
game=$(sed -n 's/^GAME="\$HOME\/\(.*\)"$/\1/p' "$wrapper")
mkdir -p "$scratch/bin" "$scratch/home/$game"
# A stand-in for wine: where it runs, then each argument on a line of its own.
printf '#!/bin/sh\n{ pwd; printf "%%s\\n" "$@"; } > "$HOME/wine.run"\n' > "$scratch/bin/wine"
chmod +x "$scratch/bin/wine"
set -- zen3.exe /j tcp 10.0.0.2 /nBob /boundip 10.0.0.5 'two  words' '*' '$(touch "$HOME/ran")' '' "it's"
HOME=$scratch/home PATH=$scratch/bin:/usr/bin:/bin "$wrapper" "$@"
expected=$(printf '%s\n' "$scratch/home/$game" "$scratch/home/$game/eaexec.exe" "$@")
actual=$(cat "$scratch/home/wine.run")
if [ "$actual" != "$expected" ] || [ -e "$scratch/home/ran" ]; then
    printf 'wine was started with:\n%s\nexpected:\n%s\n' "$actual" "$expected" >&2
    exit 1
fi
