#!/usr/bin/env bash
# Runs a Windows program under Wine, as ctest's emulator for the MinGW builds:
#   wine-run.sh PROGRAM.exe [ARGUMENT...]   runs PROGRAM and exits with its status
#   wine-run.sh --init-prefix               only makes sure the Wine prefix exists
#   wine-run.sh --check-32-bit              exits 0 when this Wine runs 32-bit programs, else
#                                           says why not and exits 77
#
# Everything Wine keeps lives in one folder of the build tree: WINDLOCK_WINEPREFIX (default
# ./wine/prefix under the current directory) and a home folder beside it, so a run depends on
# nothing outside the build folder and two build trees never share a registry.
# Each run gets a display of its own (Xvfb) and a time limit, WINDLOCK_WINE_TIMEOUT seconds
# (default 100, below the tests' own ctest TIMEOUT so the wine processes are ended here first).
# WINDLOCK_WINE_DPI (default 96) is the screen's DPI the program sees: the prefix's LogPixels,
# which every Wine process reads as it starts.
# Exit status 77 means the program cannot run here (a 32-bit program without 32-bit Wine):
# the tests treat it as skipped.
set -euo pipefail

prefix=${WINDLOCK_WINEPREFIX:-$PWD/wine/prefix}
case "$prefix" in
  /*) ;;
  *) prefix=$PWD/$prefix ;;
esac
state=$(dirname "$prefix")
time_limit=${WINDLOCK_WINE_TIMEOUT:-100}
dpi=${WINDLOCK_WINE_DPI:-96}

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No menu entries or file associations written into the home folder, and no offer to download
# Gecko or Mono, which would wait for a click that never comes: without its HTML engine a
# WebBrowser object is still created, it only cannot show a page. Set to replace these.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}
export HOME=$state/home
export XDG_CONFIG_HOME=$HOME/.config
export XDG_CACHE_HOME=$HOME/.cache
export XDG_DATA_HOME=$HOME/.local/share
unset WINEARCH
# Wine's own fonts (Tahoma, MS Sans Serif, Marlett for the title-bar buttons) found by name, as
# Windows has them; without them Debian's Wine draws its text in Liberation Sans and its title-bar
# buttons as letters.
mkdir -p "$state"
cat >"$state/fonts.conf" <<'FONTS'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>/usr/share/wine/fonts</dir>
</fontconfig>
FONTS
export FONTCONFIG_FILE=$state/fonts.conf

for tool in wine wineserver xvfb-run timeout flock; do
  if ! command -v "$tool" >/dev/null; then
    echo "wine-run.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
done

# Runs a shell command line under its own X server; the wineserver is waited for inside, so the
# display outlives every Wine process.
in_display() {
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c "$1" wine-run "${@:2}"
}

# The prefix is ready once its marker exists; one left half-made by an interrupted run is made
# again from the start.
init_prefix() {
  mkdir -p "$state" "$HOME"
  # Two tests starting at once must not both build the prefix.
  exec 9>"$state/prefix.lock"
  flock 9
  # Once 32-bit Wine is installed its loader starts every program, and cannot in a prefix made
  # before, which has no 32-bit system folder: such a prefix is made again.
  if [ -n "$loader_32" ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    rm -f "$state/prefix.ready"
  fi
  if [ ! -f "$state/prefix.ready" ]; then
    echo "wine-run.sh: creating the Wine prefix $prefix"
    rm -rf "$prefix" "$state/dpi"
    # Windows open inside a virtual desktop: on a bare X server, without a window manager, Wine
    # waits 2 s for every top-level window that is hidden or destroyed.
    # shellcheck disable=SC2016 # expanded by the shell under xvfb-run
    if ! in_display '
      timeout -k 10 "$1" "$2" wineboot.exe -i &&
        timeout -k 10 "$1" "$2" reg add "HKCU\Software\Wine\Explorer" /v Desktop /d Default /f &&
        timeout -k 10 "$1" "$2" reg add "HKCU\Software\Wine\Explorer\Desktops" /v Default \
          /d 1024x768 /f
      status=$?
      wineserver -w
      exit $status' "$time_limit" "$wine" >/dev/null; then
      echo "wine-run.sh: creating the prefix failed" >&2
      wineserver -k 2>/dev/null || true
      exit 1
    fi
    touch "$state/prefix.ready"
  fi
  flock -u 9
  exec 9>&-
}

# The prefix's LogPixels, written only when it differs from the last one written (a new prefix
# has none: 96), so that a run stopped half-way leaves no other DPI to the next one.
set_dpi() {
  local written=96
  [ -f "$state/dpi" ] && written=$(cat "$state/dpi")
  [ "$written" = "$dpi" ] && return 0
  # shellcheck disable=SC2016 # expanded by the shell under xvfb-run
  if ! in_display '
    timeout -k 10 "$1" "$2" reg add "HKCU\Control Panel\Desktop" /v LogPixels /t REG_DWORD \
      /d "$3" /f
    status=$?
    wineserver -w
    exit $status' "$time_limit" "$wine" "$dpi" >/dev/null; then
    echo "wine-run.sh: setting the screen to $dpi DPI failed" >&2
    exit 1
  fi
  echo "$dpi" >"$state/dpi"
}

# 0x14c in the PE header: a 32-bit x86 program.
is_32_bit() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
  [ "$machine" = "014c" ]
}

# A 32-bit ELF file: the class byte after the magic is 1.
is_elf_32() {
  [ -f "$1" ] && [ "$(od -An -tx1 -N5 "$1" | tr -d ' ')" = "7f454c4601" ]
}

# Wine's 32-bit DLLs and a 32-bit loader that runs. The DLLs alone are not enough: on Debian they
# come with libwine:i386, the loader with wine32:i386, and without the loader wine64 starts a
# 32-bit program in a WoW64 mode that cannot load it, and still exits 0. An installed loader is
# not enough either: a kernel without IA-32 emulation cannot start it ("Exec format error").
# Sets why_no_32_bit when there is none.
why_no_32_bit=""
loader_32=""
find_32_bit_wine() {
  local dir loader dlls=false
  for dir in /usr/lib/i386-linux-gnu/wine /usr/lib/wine /usr/lib32/wine /usr/local/lib/wine \
    /opt/wine*/lib/wine /opt/wine*/lib32/wine; do
    [ -f "$dir/i386-windows/kernel32.dll" ] && dlls=true
  done
  why_no_32_bit="this Wine runs 64-bit programs only (no wine32:i386, which scripts/install-deps.sh installs where the machine runs 32-bit programs)"
  $dlls || return 1
  for loader in /usr/lib/wine/wine /usr/bin/wine /usr/local/bin/wine /opt/wine*/bin/wine; do
    is_elf_32 "$loader" || continue
    if timeout 20 "$loader" --version >/dev/null 2>&1; then
      loader_32=$loader
      return 0
    fi
    why_no_32_bit="this machine cannot run 32-bit programs: Wine's 32-bit loader $loader is installed but does not start"
  done
  return 1
}

# The loader for every program: where a 32-bit loader runs, `wine` (which picks it, and runs
# 64-bit programs through it too); elsewhere the 64-bit loader itself, since Debian's `wine`
# picks an installed 32-bit loader even when it cannot start. WINELOADER is what Wine itself
# starts further programs with.
choose_loader() {
  local loader
  if find_32_bit_wine; then
    wine=wine
    return
  fi
  for loader in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 \
    /usr/local/bin/wine64 /opt/wine*/bin/wine64 "$(command -v wine64 || true)"; do
    if [ -n "$loader" ] && [ -x "$loader" ]; then
      wine=$loader
      export WINELOADER=$loader
      return
    fi
  done
  wine=wine
}

if [ $# -eq 0 ]; then
  echo "usage: wine-run.sh PROGRAM.exe [ARGUMENT...] | --init-prefix | --check-32-bit" >&2
  exit 2
fi
choose_loader
if [ "$1" = "--init-prefix" ]; then
  init_prefix
  exit 0
fi
if [ "$1" = "--check-32-bit" ]; then
  [ -n "$loader_32" ] && exit 0
  echo "$why_no_32_bit"
  exit 77
fi

program=$1
shift
# A test that needs 32-bit programs inside a 64-bit one skips with the reason.
[ -n "$loader_32" ] || export WINDLOCK_NO_32_BIT="$why_no_32_bit"
if [ ! -f "$program" ]; then
  echo "wine-run.sh: no such program: $program" >&2
  exit 1
fi
if is_32_bit "$program" && [ -z "$loader_32" ]; then
  echo "wine-run.sh: $program is a 32-bit program and $why_no_32_bit" >&2
  exit 77
fi
init_prefix
set_dpi

# A program that outlives its time is ended together with everything it started in the prefix.
status=0
# shellcheck disable=SC2016 # expanded by the shell under xvfb-run
in_display '
  timeout -k 5 "$1" "$2" "${@:3}"
  status=$?
  if [ $status -eq 124 ] || [ $status -eq 137 ]; then
    echo "wine-run.sh: stopped after $1 s" >&2
    wineserver -k
  fi
  wineserver -w
  exit $status' "$time_limit" "$wine" "$program" "$@" || status=$?
exit $status
