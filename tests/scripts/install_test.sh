#!/usr/bin/env bash
# Checks scripts/install and the fum command it installs: what an installation puts where, how
# the command turns Linux paths into Windows ones and prepares its Wine prefix (against a
# stand-in Wine), and that reinstalling and uninstalling lose nothing the user changed or made.
set -uo pipefail
root=$(CDPATH='' cd -- "$(dirname -- "${BASH_SOURCE[0]}")/../.." && pwd)
install="$root/scripts/install"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/tests/scripts/expect.sh"

Tree() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort); }

# ---- An installation into a prefix that is not there yet ----------------------------------------

# The desktop's tool that lists the programs by file type, standing in for the real one: it
# leaves its list in the folder it is given.
mkdir "$work/tools"
printf '#!/bin/sh\nfor folder; do :; done\necho "[MIME Cache]" >"$folder/mimeinfo.cache"\n' \
  >"$work/tools/update-desktop-database"
chmod +x "$work/tools/update-desktop-database"
export PATH="$work/tools:$PATH"

# Its name has characters that the desktop entry must quote.
prefix="$work/pre fix ü \"q\" \$HOME \`x\` 100%"
if ! "$install" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  Expect "scripts/install succeeds" 0 1
  Finish "install tests"
fi

expected=$(cd "$root/src/res" && printf './lib/fum/%s\n' *.syntax fum.exe fum.htm fum.opt readme.txt |
           LC_ALL=C sort)
Expect "the program folder holds the program, its syntax files, help, settings and readme" \
       "$expected" "$(Tree "$prefix" | grep '^./lib/fum/')"
Expect "the starter settings are the shipped ones" \
       "$(sha256sum <"$root/src/res/fum.opt")" "$(sha256sum <"$prefix/lib/fum/fum.opt")"
Expect "the command and the program can be run" "yes" \
       "$([[ -x $prefix/bin/fum && -x $prefix/lib/fum/fum.exe ]] && echo yes)"
Expect "the desktop entry starts the command, quoted, with the files" \
       'Exec="'"$work"'/pre fix ü \\"q\\" \\$HOME \\`x\\` 100%%/bin/fum" %F' \
       "$(grep '^Exec=' "$prefix/share/applications/fum.desktop")"
Expect "the desktop entry offers fum for plain text and C sources" "2" \
       "$(grep '^MimeType=' "$prefix/share/applications/fum.desktop" | grep -o 'text/plain;\|text/x-csrc;' | wc -l)"
icons=""
for size in 16 32 64; do
  icons+="$(identify -format '%m %wx%h ' "$prefix/share/icons/hicolor/${size}x$size/apps/fum.png" 2>&1)"
done
Expect "the icons are PNG images of their sizes" "PNG 16x16 PNG 32x32 PNG 64x64 " "$icons"
Expect "the Wine settings keep the font replacements and leave the display's to the desktop" \
       "yes no" "$(grep -q 'Fonts' "$prefix/share/fum/wineprefix.reg" && echo yes) $(grep -q 'X11 Driver' "$prefix/share/fum/wineprefix.reg" && echo yes || echo no)"

# ---- The fum command, with a Wine that records how it is called --------------------------------

cat >"$work/wine" <<'FAKE'
#!/bin/sh
[ "$1" = --version ] && { echo "wine-stand-in"; exit 0; }
{ echo "WINEPREFIX=$WINEPREFIX"; printf '[%s]\n' "$@"
  # Wine's server lives on after the command: a lock it inherits would stay taken.
  case $(readlink "/proc/$$/fd/9" 2>/dev/null) in *fum-prefix-lock) echo "[holds the lock]" ;; esac
} >>"$FAKE_WINE_LOG"
FAKE
chmod +x "$work/wine"
export WINE="$work/wine" FAKE_WINE_LOG="$work/wine.log" XDG_DATA_HOME="$work/data"
export WINEPREFIX="$work/someone else's prefix"
winePrefix="$work/data/fum/wineprefix"

Windows() { printf 'Z:%s' "${1//\//\\}"; }  # the Windows form of an absolute, normal path

cwd="$work/cur dir ñ"
mkdir -p "$cwd/sub"
: >"$work/wine.log"
(cd "$cwd" && "$prefix/bin/fum" /etc/hosts "rel name.txt" "sub/../ü€.c" ./sub/ "../up.txt" -n \
                                "" 'C:\Windows\win.ini' "$work/a \"quoted\" \$name" 2>>"$work/fum.log")
program="[$prefix/lib/fum/fum.exe]"
Expect "the first start prepares fum's own prefix, not the one of WINEPREFIX" \
       "$(printf '%s\n' "WINEPREFIX=$winePrefix" "[wineboot]" "[-i]" \
           "WINEPREFIX=$winePrefix" "[regedit]" "[/S]" "[$(Windows "$prefix/share/fum/wineprefix.reg")]")" \
       "$(head -n 7 "$work/wine.log")"
Expect "and gives it Wine's own fonts" "$(ls /usr/share/wine/fonts | grep -c '\.ttf$')" \
       "$(ls "$winePrefix/drive_c/windows/Fonts" 2>/dev/null | grep -c '\.ttf$')"
Expect "each path becomes its Windows path; an empty argument is dropped" \
       "$(printf '%s\n' "WINEPREFIX=$winePrefix" "$program" "[Z:\\etc\\hosts]" \
           "[$(Windows "$cwd/rel name.txt")]" "[$(Windows "$cwd/ü€.c")]" "[$(Windows "$cwd/sub")]" \
           "[$(Windows "$work/up.txt")]" "[$(Windows "$cwd/-n")]" "[C:\\Windows\\win.ini]" \
           "[$(Windows "$work/a \"quoted\" \$name")]")" \
       "$(tail -n +8 "$work/wine.log")"

: >"$work/wine.log"
mkdir -p "$work/links"
ln -s "$prefix/bin/fum" "$work/links/fum"
(cd "$cwd" && "$work/links/fum" x.txt 2>>"$work/fum.log")
Expect "a later start through a link to the command only starts fum" \
       "$(printf '%s\n' "WINEPREFIX=$winePrefix" "$program" "[$(Windows "$cwd/x.txt")]")" \
       "$(cat "$work/wine.log")"

# ---- Reinstalling and uninstalling keep what the user changed or fum made -----------------------

echo "my colours" >>"$prefix/lib/fum/c.syntax"
echo "my settings" >>"$prefix/lib/fum/fum.opt"
mkdir "$prefix/lib/fum/recovery"
echo "unsaved" >"$prefix/lib/fum/recovery/1.fumj"
rm "$prefix/bin/fum"
echo "another program" >"$prefix/bin/fum"
echo "mine" >"$prefix/bin/other"
"$install" --prefix "$prefix" >"$work/install.log" 2>&1
Expect "reinstalling keeps another program's command of the same name aside" \
       "another program" "$(cat "$prefix/bin/fum.old")"
Expect "reinstalling keeps a changed syntax file aside" "my colours" "$(tail -n 1 "$prefix/lib/fum/c.syntax.old")"
Expect "and puts the shipped one in its place" \
       "$(sha256sum <"$root/src/res/c.syntax")" "$(sha256sum <"$prefix/lib/fum/c.syntax")"
Expect "and keeps the user's settings" "my settings" "$(tail -n 1 "$prefix/lib/fum/fum.opt")"

"$install" --prefix "$prefix" --uninstall >"$work/uninstall.log" 2>&1
Expect "uninstalling leaves only what was there before or changed or made since" \
       "$(printf '%s\n' ./bin ./bin/fum.old ./bin/other ./lib ./lib/fum ./lib/fum/c.syntax.old \
           ./lib/fum/fum.opt ./lib/fum/recovery ./lib/fum/recovery/1.fumj)" "$(Tree "$prefix")"
Expect "and names what it left" \
       "$(printf '  %s\n' "$prefix/bin/fum.old" "$prefix/bin/other" "$prefix/lib/fum/c.syntax.old" \
           "$prefix/lib/fum/fum.opt" "$prefix/lib/fum/recovery")" \
       "$(grep '^  ' "$work/uninstall.log" | LC_ALL=C sort)"
"$install" --prefix "$prefix" --uninstall >"$work/uninstall.log" 2>&1
Expect "uninstalling again says there is nothing to remove" "1" "$(grep -c 'not installed' "$work/uninstall.log")"

Finish "install tests"
