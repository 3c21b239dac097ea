#!/usr/bin/env bash
# The real program saving Setting.ini through its setup dialog under Wine,
# looked at from Linux: a file of mode 600 owned by another user, with a
# second name and lone CR line ends, is the same file after the save, with
# the same mode, owner and names, and still lone CRs; what a save cut short
# left beside it is gone. Runs inside with-display.sh, in a working folder
# copied from sample/.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine/x-waits.sh"
work=$(mktemp -d)
trap 'kill "${program:-}" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "settings-file: $*" >&2; exit 1; }

cp -r "$(dirname "$0")/../../sample/." "$work/"
settings="$work/Setting.ini"
printf '; mine\r[Setting]\rShowKeyboard=1\r' >"$settings"
chmod 600 "$settings"
owner=$(id -u):$(id -g)
if [ "$(id -u)" -eq 0 ]; then chown 4321:4321 "$settings" && owner=4321:4321; fi  # only root may
ln "$settings" "$work/other-name.ini"
inode=$(stat -c %i "$settings")
for name in new4294967290 keep4294967290; do printf 'half a save' >"$settings.$name"; done

(cd "$work" && exec wine "$KANAFLOW_EXE") >/dev/null 2>&1 &
program=$!
window_named "Kanaflow Version" >/dev/null || fail "the program did not open a window"
sleep 1.5
xdotool key --delay 300 Down Down Down Return  # the setup dialog
sleep 1.5
xdotool key Return  # OK: saves and closes the dialog
for _ in $(seq 50); do grep -q ShowFingerPosition "$settings" && break; sleep 0.2; done
sleep 0.5

grep -q ShowFingerPosition "$settings" || fail "the dialog did not save"
[ "$(stat -c %a:%u:%g:%i:%h "$settings")" = "600:$owner:$inode:2" ] ||
  fail "mode, owner, file and names are $(stat -c %a:%u:%g:%i:%h "$settings"), not 600:$owner:$inode:2"
cmp -s "$settings" "$work/other-name.ini" || fail "the second name does not hold the saved settings"
[ "$(tr -cd '\n' <"$settings" | wc -c)" = 0 ] || fail "the saved file has line feeds"
[ -z "$(ls -A "$work" | grep '^Setting\.ini\.')" ] || fail "beside Setting.ini: $(ls -A "$work" | grep '^Setting\.ini\.')"
echo "settings-file: mode 600, owner $owner, the same file with its second name, lone CRs, leftovers gone"
