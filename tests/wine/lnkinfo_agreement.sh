#!/usr/bin/env bash
# Shortcuts written by cShellLink under Wine, read by lnkinfo (liblnk-utils),
# a parser written by a third party: the target, the arguments (leading space
# included) and the description must be what was written, Japanese text too.
# The show command is read from the header (offset 0x3C), since this lnkinfo
# prints 0 for it whatever the file holds.
#
#   lnkinfo_agreement.sh <wine-run> <write_shortcut.exe> <lnkinfo>
set -uo pipefail
wine_run=$1 writer=$2 lnkinfo=$3

work=$(mktemp -d /tmp/kelmo-lnkinfo.XXXXXX)
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }

target_unix="$(dirname "$writer")/probe.exe"
target=$(winpath "$target_unix")
failures=0

# One shortcut: name, arguments, show command, description.
check() {
  local name=$1 args=$2 show=$3 description=$4
  local lnk="$work/$name"
  if ! "$wine_run" "$writer" "$(winpath "$lnk")" "$target" "$args" "$show" "$description" \
       >"$work/wine.log" 2>&1; then
    echo "FAIL $name: write_shortcut reported failure"; cat "$work/wine.log"
    failures=$((failures + 1)); return
  fi
  local info
  info=$("$lnkinfo" -c windows-932 "$lnk" 2>&1)
  # Field lines look like "<tab>Local path<tabs>: <value>".
  field() { printf '%s\n' "$info" | sed -n "s/^\t$1\t*: //p" | head -1; }
  local got_target got_args got_description got_show
  got_target=$(field 'Local path')
  got_args=$(field 'Command line arguments')
  got_description=$(field 'Description')
  got_show=$(od -An -tu4 -j 60 -N 4 "$lnk" | tr -d ' ')
  local ok=1
  [ "$got_target" = "$target" ] || { echo "FAIL $name target: [$got_target] != [$target]"; ok=0; }
  [ "$got_args" = "$args" ] || { echo "FAIL $name arguments: [$got_args] != [$args]"; ok=0; }
  [ "$got_description" = "$description" ] ||
    { echo "FAIL $name description: [$got_description] != [$description]"; ok=0; }
  [ "$got_show" = "$show" ] || { echo "FAIL $name show command: [$got_show] != [$show]"; ok=0; }
  if [ $ok = 1 ]; then echo "ok   $name"; else failures=$((failures + 1)); printf '%s\n' "$info"; fi
}

check plain.lnk ' /bn:C:\tools\a.exe -x /w:b.exe' 5 'Linked by kelmoCM'
check quoted.lnk ' /c:"C:\Program Files\b c.exe" /wx:C:\PROGRA~1\d.exe' 5 'Linked by kelmoCM'
check japanese.lnk ' /b:C:\日本語\プログラム.exe 引数 /a:ｶﾀｶﾅ.exe' 3 '日本語の説明'
check single.lnk ' "C:\kelmo\x.exe"' 7 ''

[ "$failures" -eq 0 ] || { echo "$failures shortcut(s) disagree"; exit 1; }
