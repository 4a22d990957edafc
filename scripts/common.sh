# Shell helpers shared by the scripts: paths, the Wine environment, a private X display and a
# persistent wineserver. Sourced with bash; defines functions and variables only.

FUM_ROOT=$(CDPATH='' cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)
FUM_BUILD="$FUM_ROOT/build"
FUM_EXE="$FUM_BUILD/win32/fum/fum.exe"

export WINEPREFIX="${WINEPREFIX:-$FUM_BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Set by StartXvfb / StartWineserver, read by StopXvfb / StopWineserver.
xvfbPid=""
xvfbLog=""
startedWineserver=0

# Starts an Xvfb server on a display number nobody uses (the server picks it and reports it on
# a descriptor, so two runs at once never collide) and exports DISPLAY for it.
# StartXvfb WxH; on failure prints why on stderr and returns 1.
StartXvfb() {
  local size=$1 numberFile
  command -v Xvfb >/dev/null || { echo "Xvfb is not installed (run scripts/setup as root)" >&2; return 1; }
  mkdir -p "$FUM_BUILD/logs"
  numberFile=$(mktemp)
  xvfbLog="$FUM_BUILD/logs/xvfb.log"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$numberFile" >"$xvfbLog" 2>&1 &
  xvfbPid=$!
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    if [[ -s $numberFile ]] && grep -q '^[0-9][0-9]*$' "$numberFile"; then break; fi
    if ! kill -0 "$xvfbPid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  local number
  number=$(head -n1 "$numberFile" 2>/dev/null)
  rm -f "$numberFile"
  if [[ ! $number =~ ^[0-9]+$ ]] || ! kill -0 "$xvfbPid" 2>/dev/null; then
    echo "Xvfb could not start a display:" >&2
    tail -n 5 "$xvfbLog" >&2
    StopXvfb
    return 1
  fi
  export DISPLAY=":$number"
}

StopXvfb() {
  if [[ -n $xvfbPid ]]; then
    kill "$xvfbPid" 2>/dev/null
    wait "$xvfbPid" 2>/dev/null
    xvfbPid=""
  fi
}

# Starts a persistent wineserver for the prefix so that each Windows program starts in well
# under a second. The command returns once the server runs in the background. When a server
# already runs for the prefix it is used and left alone by StopWineserver.
StartWineserver() {
  command -v wineserver >/dev/null || { echo "wineserver is not installed (run scripts/setup as root)" >&2; return 1; }
  local rc=0
  timeout 20 wineserver -p >/dev/null 2>&1 || rc=$?
  case $rc in
    0) startedWineserver=1 ;;
    2) startedWineserver=0 ;;  # one is already running for this prefix
    *) echo "wineserver could not start for $WINEPREFIX (exit code $rc)" >&2; return 1 ;;
  esac
  # The first program of a session starts Wine's background services, which live as long as
  # the server and keep the standard output and error they were started with. Start them
  # here, detached, so they never hold the pipe of a test runner that waits for its end.
  if ! wine cmd /c exit 0 </dev/null >/dev/null 2>&1; then
    echo "Wine cannot run programs in $WINEPREFIX" >&2
    StopWineserver
    return 1
  fi
}

# Ends the wineserver started by StartWineserver and every Windows process of the prefix.
StopWineserver() {
  if ((startedWineserver)); then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    startedWineserver=0
  fi
}

# Prints the Windows form of each argument, one line each: Unix paths, absolute or relative to
# the current folder, become drive paths; Windows paths stay as they are. An argument that
# cannot be translated is printed unchanged.
WindowsPaths() {
  (($#)) || return 0
  local -a converted=()
  mapfile -t converted < <(winepath -w -- "$@" 2>/dev/null)
  if ((${#converted[@]} != $#)); then
    converted=()
    local arg
    for arg in "$@"; do converted+=("$(winepath -w -- "$arg" 2>/dev/null || printf '%s' "$arg")"); done
  fi
  printf '%s\n' "${converted[@]}"
}

# Builds fum.exe in the win32 build, configuring the build first when it has never been; the
# output goes to build/logs/LOG.log. On failure prints the log's end and why, and returns 1.
# BuildProgram LOG
BuildProgram() {
  local log="$FUM_BUILD/logs/$1.log"
  mkdir -p "$FUM_BUILD/logs"
  if ! (cd "$FUM_ROOT" &&
        { [[ -f $FUM_BUILD/win32/CMakeCache.txt ]] || cmake --preset win32; } &&
        cmake --build --preset win32 --target fum -j 2) >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "${0##*/}: building fum.exe failed (log: $log)" >&2
    return 1
  fi
}

# Prints the program's version, the first line of the file VERSION (MAJOR.MINOR.PATCH, the form
# the build accepts); returns 1 when the file holds anything else.
ProgramVersion() {
  local version
  version=$(head -n 1 -- "$FUM_ROOT/VERSION" 2>/dev/null | tr -d '\r')
  if [[ ! $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "${0##*/}: $FUM_ROOT/VERSION must hold the version as MAJOR.MINOR.PATCH, not \"$version\"" >&2
    return 1
  fi
  echo "$version"
}

# Prints the time the sources are from, in seconds since 1970: SOURCE_DATE_EPOCH when set, else
# the last commit's time; never before 1980, where the times of zip entries begin.
SourceEpoch() {
  local dosEpoch=315532800 epoch
  epoch=${SOURCE_DATE_EPOCH:-$(git -C "$FUM_ROOT" log -1 --format=%ct 2>/dev/null || true)}
  if [[ ! $epoch =~ ^[0-9]+$ ]] || ((epoch < dosEpoch)); then
    epoch=$dosEpoch
  fi
  echo "$epoch"
}

# Makes FOLDER (which must not exist) the program folder as users get it, from the built
# fum.exe and the sources: fum.exe without its symbols, the shipped syntax files, the help file,
# the starter settings and the readme with Windows line ends. The executable's header carries
# the sources' time, not the time of stripping. StageProgram FOLDER
StageProgram() {
  local folder=$1 res="$FUM_ROOT/src/res" epoch
  epoch=$(SourceEpoch)
  mkdir -- "$folder" &&
    SOURCE_DATE_EPOCH=$epoch x86_64-w64-mingw32-strip -o "$folder/fum.exe" "$FUM_EXE" &&
    cp -- "$res"/*.syntax "$res/fum.htm" "$res/fum.opt" "$folder/" &&
    sed 's/\r*$/\r/' "$res/readme.txt" >"$folder/readme.txt"
}
