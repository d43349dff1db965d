#!/usr/bin/env bash
# Installs every package the build, the tests and the run command need.
# Idempotent: packages already present are not fetched again.
set -euo pipefail

packages=(
  cmake make ninja-build
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xdotool x11-utils imagemagick
  locales fonts-wqy-zenhei python3 python3-fonttools python3-pil
  # fonttools may have come in with python3-scipy, whose Boost 1.74 headers
  # make way for libboost1.81-dev and take fonttools along; munkres is the
  # other package that keeps fonttools installed.
  python3-munkres
  googletest libboost1.81-dev clang-format
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

not_installed() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

mapfile -t missing < <(not_installed)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # An install may remove packages that were there before it.
  mapfile -t missing < <(not_installed)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: not installed after the install: ${missing[*]}" >&2
    exit 1
  fi
fi

# The ANSI code page is 936 only under a generated zh_CN.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  as_root sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
