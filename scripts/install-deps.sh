#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Idempotent: it asks dpkg first and only calls apt-get for what is missing, with one
# 'apt-get update' before the first install of a run.
set -euo pipefail

packages=(
  # toolchain and build
  g++ cmake ninja-build pkg-config
  # libraries the program links against
  qt6-base-dev qt6-qpa-plugins qt6-webengine-dev libgl-dev libxkbcommon-dev
  libcurl4-openssl-dev libboost-regex-dev
  # the HTTP layer of the sample catalogue
  libcpp-httplib-dev
  # a session manager of the desktop's kind for the session test (libSM, libICE)
  libsm-dev
  # tests, benchmark and fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  # a real TLS server with a certificate made at test time, for the https fetch test
  openssl
  # a real X server for window tests, its keyboard, a window manager for frame geometry,
  # and a CJK font so that Chinese texts render instead of empty boxes
  xvfb xauth openbox fonts-wqy-microhei xdotool
  # reads the clipboard from a second X client; the test clipboard keeper speaks X
  xclip libxcb1-dev
  # checks the desktop entry and the AppStream metainfo
  desktop-file-utils appstream
  # the Debian package: cpack's DEB generator uses dpkg-shlibdeps, the check dpkg-deb
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
