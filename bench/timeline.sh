#!/usr/bin/env bash
# Virtual time on the default world with the main window open and a WPA2 network joined:
# the wall and processor time of `tick 1000` in a script, and whether 20 runs of the same script
# give byte-identical console output and call logs.
#   bench/timeline.sh [PROGRAM] [RUNS]
set -euo pipefail
program=$(realpath "${1:-build/KWConfig}")
runs=${2:-20}
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

# A hive that restores a WPA2 pre-shared key network at start.
seed_hive() {
  local root=$1 branch='HKEY_CURRENT_USER\Software\Talvo\KWConfig\LastSetting\KW7100\0007\Station'
  mkdir -p -m 0700 "$root"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"SSID"="HomeWPA2"\r\n"AuthenticationMode"="7"\r\n"WEPStatus"="6"\r\n"Dot1xPassphrase"="correct horse battery"\r\n"Dot1xPassphraseFormat"="0"\r\n' \
    "$branch" >"$root/HKCU.reg"
  chmod 0600 "$root/HKCU.reg"
}

script=$'tray dblclick\ntick 1000\nshow\n'

run_once() {
  local n=$1
  seed_hive "$work/root$n"
  KWCONFIG_ROOT="$work/root$n" KWWLAN_LOG="$work/log$n" "$program" <<<"$script" >"$work/out$n"
}

# Wall and processor time of one run.
TIMEFORMAT='%R %U %S'
{ time run_once 0; } 2>"$work/time"
read -r wall user sys <"$work/time"
echo "tick 1000: wall ${wall} s, processor $(awk "BEGIN{print $user + $sys}") s (user ${user}, system ${sys})"
grep -E '^1192 |^1195 ' "$work/out0" | sed 's/^/  /'

same=0
for ((i = 1; i <= runs; i++)); do
  run_once "$i"
  if cmp -s "$work/out0" "$work/out$i" && cmp -s "$work/log0" "$work/log$i"; then same=$((same + 1)); fi
done
echo "identical console output and call log: $same of $runs runs"
