#!/usr/bin/env bash
# Checks how scripts/setup finds and installs missing packages, against a dpkg database of its
# own and a stand-in apt-get, so it runs the same on a fresh machine and on a prepared one.
set -uo pipefail
root=$(CDPATH='' cd -- "$(dirname -- "${BASH_SOURCE[0]}")/../.." && pwd)
setup="$root/scripts/setup"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/tests/scripts/expect.sh"

# A dpkg database that knows one installed, one removed and one half-installed package.
admin="$work/dpkg"
mkdir -p "$admin/info" "$admin/updates"
for entry in "fum-present:install ok installed" "fum-removed:deinstall ok config-files" \
             "fum-half:install ok half-installed"; do
  printf 'Package: %s\nStatus: %s\nVersion: 1\nArchitecture: all\nMaintainer: t <t@example.org>\nDescription: t\n\n' \
    "${entry%%:*}" "${entry#*:}" >>"$admin/status"
done

missing=$(DPKG_ADMINDIR="$admin" "$setup" --missing fum-never-heard-of fum-removed fum-present fum-half | xargs)
Expect "unknown, removed and half-installed packages are missing" \
       "fum-never-heard-of fum-removed fum-half" "$missing"

missing=$(DPKG_ADMINDIR="$admin" "$setup" --missing fum-present | xargs)
Expect "an installed package is not missing" "" "$missing"

missing=$("$setup" --missing fum-never-heard-of-either | xargs)
Expect "the machine's own database reports an unknown package" "fum-never-heard-of-either" "$missing"

# The install step, with an apt-get that records its arguments and does what FAKE_APT says.
bin="$work/bin"
mkdir -p "$bin"
cat >"$bin/apt-get" <<'FAKE'
#!/bin/sh
echo "$*" >>"$FAKE_APT_LOG"
[ "$1" = update ] && exit 0
[ "$FAKE_APT" = fail ] && { echo "E: Unable to locate package" >&2; exit 100; }
exit 0
FAKE
chmod +x "$bin/apt-get"
expectedPackages=$(sed -n '/^packages=(/,/^)/p' "$setup" | sed '1d;$d; s/#.*//' | xargs)

RunSetup() {  # RunSetup FAKE_APT; prints the exit code, then the output
  local rc=0 output
  : >"$work/apt.log"
  output=$(DPKG_ADMINDIR="$admin" FAKE_APT=$1 FAKE_APT_LOG="$work/apt.log" PATH="$bin:$PATH" \
           "$setup" 2>&1) || rc=$?
  echo "$rc"
  echo "$output"
}

if ((EUID == 0)); then
  result=$(RunSetup fail)
  Expect "a failing apt-get makes setup fail" "1" "$(head -n1 <<<"$result")"
  Expect "apt-get is asked for exactly the missing packages" \
         "install -y $expectedPackages" "$(grep install "$work/apt.log")"
  Expect "the failure names the packages" "1" \
         "$(grep -c "could not install $expectedPackages" <<<"$result")"

  result=$(RunSetup succeed)
  Expect "packages still missing after apt-get make setup fail" "1" "$(head -n1 <<<"$result")"
  Expect "and are named" "1" "$(grep -c "still missing after apt-get: $expectedPackages" <<<"$result")"
else
  result=$(RunSetup succeed)
  Expect "without root setup fails" "1" "$(head -n1 <<<"$result")"
  Expect "without root apt-get is not called" "" "$(cat "$work/apt.log")"
  Expect "and names the packages and why" "1" \
         "$(grep -c "missing packages: $expectedPackages; installing them needs root" <<<"$result")"
fi

Finish "setup tests"
