#!/usr/bin/env bash
# Installs the Debian packages that Vexal needs, only those that are missing;
# when nothing is missing the package manager is not run at all. Run as root
# on Debian 12.
#
#   install-deps.sh            what building and running the programs needs
#   install-deps.sh --tests    that, and the test and benchmark libraries and
#                              the desktop entry and AppStream checkers
#   install-deps.sh --virtual-display  that, and the virtual display (xvfb-run)
#                              that the window runs on where there is no display
#   install-deps.sh --measure  that, and the virtual display of tools/measure.sh
#   install-deps.sh --screenshot  that, and the virtual display, key sender and
#                              picture tools of tools/screenshot.sh
#   install-deps.sh --speed    that, and SIMH, the reference of tools/compare-speed.sh
set -euo pipefail

packages=(
  cmake g++ make pkg-config          # the build
  qt6-base-dev                       # the front panel and debug window
  libinih-dev                        # the settings file reader
  fonts-dejavu-core                  # front-panel labels; the debug window's fixed-pitch font
  help2man                           # the manual pages, made from each program's --help
)
for wanted in "$@"; do
  case $wanted in
    --tests) packages+=(
      libgtest-dev libgmock-dev      # unit tests (GoogleTest's CMake package needs both)
      libbenchmark-dev               # benchmarks
      libgmp-dev                     # exact rationals, the reference of the firmware's number tests
      desktop-file-utils             # checking the installed desktop menu entry
      appstream                      # checking the installed AppStream metadata
    ) ;;
    --virtual-display) packages+=(
      xvfb xauth                     # xvfb-run: a virtual display for the window
    ) ;;
    --measure) packages+=(
      xvfb xauth                     # a virtual display for tools/measure.sh
    ) ;;
    --screenshot) packages+=(
      xvfb xauth                     # a virtual display for tools/screenshot.sh
      xdotool x11-apps netpbm        # F3 to the window, and its picture as PNG
    ) ;;
    --speed) packages+=(
      simh                           # its PDP-11 simulator, the speed reference of tools/compare-speed.sh
    ) ;;
    *) echo "install-deps.sh: unknown option $wanted" >&2; exit 2 ;;
  esac
done

# One query for all of them; a package dpkg has never heard of prints nothing.
installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  grep -Fqx "$p installed" <<<"$installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
