# Shared by scripts/run and scripts/test: install what is missing, configure
# and build into build/ at the repository root.

set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
# More options for the configure step of configure_and_build.
CONFIGURE_OPTIONS=()

# The window tests run a second time under a real window manager; xprop tells
# when it is up.
WINDOW_MANAGER_PACKAGES=(openbox x11-utils)

# Debian 12 packages the player needs to build, run and test.
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev
  libmpv-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libxcb1-dev
  libgtest-dev
  libgl1-mesa-dri fonts-dejavu-core fonts-liberation
  xvfb xauth
  desktop-file-utils
)
PACKAGES+=("${WINDOW_MANAGER_PACKAGES[@]}")

# Only scripts/fuzz needs these: libFuzzer comes with clang.
FUZZ_PACKAGES=(clang)

ensure_packages() {
  local missing=()
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
      exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

configure_and_build() {
  local jobs
  jobs="$(nproc 2>/dev/null || echo 2)"
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release "${CONFIGURE_OPTIONS[@]}" >/dev/null
  cmake --build "$BUILD" -j"$jobs" "$@"
}
