#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing: `install-deps.sh build` what building and the demo need,
# `install-deps.sh test` that and what the tests need (a browser and the npm packages),
# `install-deps.sh fuzz` that and clang with its libFuzzer runtime, `install-deps.sh mutants`
# what the tests need and Python for the fault planter, `install-deps.sh coverage` that and
# gcovr, `install-deps.sh smallest-suite` that, clang and an integer program solver,
# `install-deps.sh package` that and what builds and checks the Debian package.
set -euo pipefail
purpose=${1:-test}
# What builds the program is the package's Build-Depends (debian/control); the Makefile's build
# adds the tests' framework, which it configures, and dpkg-buildflags.
control="$(dirname "$0")/../debian/control"
read -ra packages <<<"$(sed -n '/^Build-Depends:/,/^[A-Z]/{/^ /p}' "$control" | tr -d ' ,' |
  sed 's/(.*//' | grep -v '^debhelper-compat$' | tr '\n' ' ')"
packages+=(make g++ time dpkg-dev fonts-liberation googletest libgtest-dev libgmock-dev)
if [ "$purpose" = package ]; then
  packages+=(debhelper lintian blhc)
fi
if [ "$purpose" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "$purpose" = coverage ]; then
  packages+=(gcovr)
  purpose=test
fi
if [ "$purpose" = smallest-suite ]; then
  packages+=(clang llvm python3-pulp coinor-cbc)
  purpose=test
fi
if [ "$purpose" = mutants ]; then
  packages+=(python3)
  purpose=test
fi
if [ "$purpose" = test ]; then
  # exiftool writes the tests' embedded metadata; mdb-export reads their databases back.
  packages+=(chromium firefox-esr libimage-exiftool-perl mdbtools)
  # ffmpeg makes the tests' clips.
  packages+=(ffmpeg)
  # The splash's test runs the window in a real X server with a window manager.
  packages+=(xvfb openbox xdotool x11-utils)
  # The installed desktop files are checked by their validators.
  packages+=(desktop-file-utils appstream)
  # Node.js (20 or later) comes with the machine; Debian's is only a fallback.
  command -v node >/dev/null 2>&1 || packages+=(nodejs npm)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

[ "$purpose" = test ] || exit 0
# The browser tests' npm packages, pinned by tests/page/js/package-lock.json.
js="$(dirname "$0")/../tests/page/js"
if [ ! -f "$js/node_modules/.package-lock.json" ] || [ "$js/package-lock.json" -nt "$js/node_modules/.package-lock.json" ]; then
  (cd "$js" && npm ci --silent --no-audit --no-fund)
fi
