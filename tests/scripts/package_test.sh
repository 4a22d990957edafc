#!/usr/bin/env bash
# Checks scripts/package: the zip is named after the version and holds the program folder; a
# second run gives the same bytes, whatever the time zone and umask; and the fum.exe in it
# carries the version in its version resource and, unpacked into an empty folder, starts under
# Wine, works and ends cleanly. Builds fum.exe when needed.
set -uo pipefail
root=$(CDPATH='' cd -- "$(dirname -- "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/common.sh"
source "$root/tests/scripts/expect.sh"
work=$(mktemp -d)
fumPid=""
Cleanup() {
  [[ -n $fumPid ]] && kill "$fumPid" 2>/dev/null
  StopWineserver
  StopXvfb
  rm -rf "$work"
}
trap Cleanup EXIT

version=$(ProgramVersion) || exit 1
zip="$root/dist/fum-$version-win64.zip"
rm -f -- "$zip"
if ! "$root/scripts/package" >"$work/package.log" 2>&1; then
  cat "$work/package.log"
  Expect "scripts/package succeeds" 0 1
  Finish "package tests"
fi
cp -- "$zip" "$work/first.zip"
(umask 077 && TZ=Asia/Tokyo "$root/scripts/package") >"$work/package.log" 2>&1
Expect "a second run in another time zone and umask gives the same bytes" "same" \
       "$(cmp -s "$work/first.zip" "$zip" && echo same)"

expected=$(cd "$root/src/res" && printf 'fum/%s\n' "" *.syntax fum.exe fum.htm fum.opt readme.txt | LC_ALL=C sort)
Expect "the zip holds the folder fum with the program, syntax files, help, settings and readme" \
       "$expected" "$(unzip -Z1 "$zip")"

folder="$work/empty ü x"
mkdir "$folder"
unzip -q "$zip" -d "$folder"
program="$folder/fum/fum.exe"
Expect "the starter settings are the shipped ones" \
       "$(sha256sum <"$root/src/res/fum.opt")" "$(sha256sum <"$folder/fum/fum.opt")"
Expect "the readme has Windows line ends" "0" "$(grep -cv $'\r$' "$folder/fum/readme.txt")"
Expect "fum.exe has no symbols" "" "$(x86_64-w64-mingw32-nm "$program" 2>/dev/null | head -n 3)"

resources=$(x86_64-w64-mingw32-windres -i "$program" -O rc 2>&1)
numbers=${version//./, }
Expect "the version resource carries the version" \
       "$(printf '%s\n' " FILEVERSION $numbers, 0" " PRODUCTVERSION $numbers, 0" \
           "      VALUE \"FileVersion\", \"$version\"" "      VALUE \"ProductName\", \"fum\"" \
           "      VALUE \"ProductVersion\", \"$version\"")" \
       "$(grep -E '^ (FILE|PRODUCT)VERSION |"(FileVersion|ProductName|ProductVersion)"' <<<"$resources")"
Expect "the About box shows the version" "1" "$(grep -c "LTEXT \"fum $version\"" <<<"$resources")"

# Started from the folder it was unpacked into, with no other file of the project at hand.
if ! StartXvfb 800x600 2>"$work/start.log" || ! StartWineserver 2>>"$work/start.log"; then
  cat "$work/start.log"
  Expect "a display and Wine to start fum.exe" 0 1
  Finish "package tests"
fi
starterSettings=$(sha256sum <"$folder/fum/fum.opt")
(cd "$work" && exec wine "$program" </dev/null >"$work/fum.log" 2>&1) &
fumPid=$!
window=""
# The whole while, even once the process started is gone: the wine command that started it may
# end while the program itself runs on.
for ((tries = 0; tries < 150; tries++)); do
  window=$(xdotool search --onlyvisible --classname '^fum\.exe$' 2>/dev/null | head -n 1)
  [[ -n $window ]] && break
  sleep 0.1
done
Expect "the unpacked fum.exe shows its window with an untitled document" "fu - doc1" \
       "$([[ -n $window ]] && xdotool getwindowname "$window")"
if [[ -z $window ]]; then
  echo "     (no window: did another fum.exe run in $WINEPREFIX and take the start over?)"
else
  xdotool key --window "$window" ctrl+q
fi
rc=timeout
for ((tries = 0; tries < 100; tries++)); do
  if ! kill -0 "$fumPid" 2>/dev/null; then
    wait "$fumPid"
    rc=$?
    fumPid=""
    break
  fi
  sleep 0.1
done
Expect "Exit ends it cleanly" 0 "$rc"
Expect "and it writes its settings beside itself" "changed" \
       "$([[ $(sha256sum <"$folder/fum/fum.opt") != "$starterSettings" ]] && echo changed)"

Finish "package tests"
