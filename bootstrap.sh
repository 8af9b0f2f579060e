#!/usr/bin/env bash
# Set up a Debian 12 machine, build, and then either start the game or run the tests.
#   ./bootstrap.sh game   build the three programs and the data they read, and start the game
#   ./bootstrap.sh test   build optimised and with sanitizers, run the whole suite in both
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libsdl2-dev libsdl2-ttf-dev libfontconfig-dev xvfb libxtst-dev libxi-dev
          unifont fonts-arphic-ukai fonts-arphic-uming fonts-liberation)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
build() {  # build DIR "TARGET..." [cmake options...]
  local dir=$1 targets=$2; shift 2
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" --target $targets
}

case "${1:-}" in
  game)
    # Tavex brings every generated table, picture, sound and Quillan.dat with it.
    build build "Tavex Quillan call" -DCMAKE_BUILD_TYPE=Release
    cd build/game && exec ./Tavex
    ;;
  test)
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    build build all -DCMAKE_BUILD_TYPE=Release
    (cd build && ctest --output-on-failure -j "$jobs")
    build build-asan all -DCMAKE_BUILD_TYPE=Debug -DTAVEX_SANITIZE=ON
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")
    ;;
  *)
    echo "usage: $0 game|test" >&2
    exit 2
    ;;
esac
