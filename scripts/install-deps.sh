#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(
  cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev clang-format
  # Coverage of the tests (scripts/coverage.sh).
  gcovr
  # The Windows DLL and its tests: MinGW-w64 (with widl), GoogleTest's sources, Wine and Xvfb.
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools googletest
  wine wine64 xvfb xauth
  # The data beside the DLL: Python draws the loading clip, chmcmd (fp-utils) compiles the help.
  python3 fp-utils
  # The installer: NSIS's makensis.
  nsis
  # The fuzz targets: clang with libFuzzer and the sanitizers' runtimes.
  clang libfuzzer-14-dev libclang-rt-14-dev
  # The skins test: headless Chromium, driven from Node (tests/skins).
  chromium
)
# Node may come from elsewhere than Debian (with its own npm); Debian's only where there is none.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

# The skins test's own modules, from its lock file, when they are missing or older than it.
skins_modules() {
  local dir
  dir="$(dirname "$0")/../tests/skins"
  if command -v npm >/dev/null && [ "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]; then
    echo "Installing the skins test's modules (npm ci in tests/skins)"
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
  fi
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done

# Whether the kernel starts 32-bit x86 programs at all: some run none (no IA-32 emulation), and
# there wine32 would only break Wine, whose `wine` then starts the 32-bit loader for everything.
# Tried with the smallest such program, which exits with status 7 through int 0x80.
runs_32_bit() {
  local probe status=0
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08' >"$probe"
  printf '\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >>"$probe"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00' >>"$probe"
  printf '\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 7 ]
}

# The x86 DLL's tests need Wine's 32-bit loader beside wine64: wine32 from the i386 architecture.
# Without it they are skipped, so it is wanted but not required.
want_wine32=false
skip_wine32=""
if [ "$(dpkg --print-architecture)" != amd64 ]; then
  skip_wine32="wine32:i386 is for amd64 machines, this one is $(dpkg --print-architecture)"
elif ! runs_32_bit; then
  skip_wine32="this machine's kernel runs no 32-bit programs, so wine32:i386 is not installed"
  if installed wine32:i386; then
    skip_wine32="this machine's kernel runs no 32-bit programs; wine32:i386 is installed but cannot run, so Wine is started through its 64-bit loader"
  fi
elif ! installed wine32:i386; then
  want_wine32=true
fi
has_i386() { dpkg --print-foreign-architectures | grep -qx i386; }

if [ ${#missing[@]} -eq 0 ] && ! $want_wine32; then
  if [ -n "$skip_wine32" ]; then
    echo "install-deps.sh: $skip_wine32; the x86 DLL's Wine tests will be skipped" >&2
  fi
  skins_modules
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  fi
  if $want_wine32; then
    add_i386=""
    has_i386 || add_i386="sudo dpkg --add-architecture i386 && sudo apt-get update && "
    echo "wine32:i386 is missing, so the x86 DLL's Wine tests will be skipped." >&2
    echo "Install it with: ${add_i386}sudo apt-get install wine32:i386" >&2
  fi
  [ ${#missing[@]} -eq 0 ] || exit 1
  skins_modules
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
added_i386=false
if $want_wine32 && ! has_i386; then
  echo "Adding the i386 architecture for wine32:i386"
  dpkg --add-architecture i386
  added_i386=true
fi
if ! apt-get update -qq; then
  # A mirror without i386 lists must not keep the rest from being installed.
  $added_i386 || exit 1
  echo "install-deps.sh: apt-get update failed with the i386 architecture; going on without it" >&2
  dpkg --remove-architecture i386
  added_i386=false
  want_wine32=false
  skip_wine32="the package lists for i386 could not be fetched"
  apt-get update -qq
fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  apt-get install -y -qq "${missing[@]}"
fi
if $want_wine32; then
  echo "Installing wine32:i386"
  if ! apt-get install -y -qq wine32:i386; then
    # Leave no architecture behind that nothing uses.
    if $added_i386; then
      dpkg --remove-architecture i386 2>/dev/null || true
    fi
    skip_wine32="wine32:i386 could not be installed (see apt-get above)"
  fi
fi
if [ -n "$skip_wine32" ]; then
  echo "install-deps.sh: $skip_wine32; the x86 DLL's Wine tests will be skipped" >&2
fi
skins_modules
