#!/usr/bin/env bash
# Sets up a Debian 12 machine for Прочнар, builds it, then either starts the
# program ("run") or runs every test ("test").
#   bash tools/bootstrap.sh run     install what is missing, build, start
#   bash tools/bootstrap.sh test    install what is missing, build, run all tests
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${PROCHNAR_BUILD_DIR:-$top/build}

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libbenchmark-dev libcsv-dev libxlsxwriter-dev unzip
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev qt6-translations-l10n qt6-charts-dev libqt6opengl6-dev
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
    xvfb xauth imagemagick
    python3 locales-all
    clang clang-format clang-tidy libclang-rt-14-dev
    librsvg2-bin desktop-file-utils appstream dpkg-dev shared-mime-info poppler-utils
    hyperfine time bc
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPROCHNAR_WERROR=ON >/dev/null
cmake --build "$build" --parallel

case "$mode" in
run)
    if [ -x "$build/app/prochnar" ]; then
        exec "$build/app/prochnar"
    fi
    exec "$build/cli/prochnar-calc" "$top/examples/worked-example.form"
    ;;
test)
    # 1. Every test of the plain build, with clang-format and clang-tidy.
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)")

    # 2. Everything again with AddressSanitizer and UndefinedBehaviorSanitizer
    #    (clang, which also builds the fuzz targets).
    asan=${PROCHNAR_ASAN_BUILD_DIR:-$top/build-asan}
    CC=clang CXX=clang++ cmake -S "$top" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPROCHNAR_WERROR=ON -DPROCHNAR_SANITIZE=ON -DPROCHNAR_FUZZ=ON >/dev/null
    cmake --build "$asan" --parallel
    (cd "$asan" && QT_QPA_PLATFORM=offscreen \
        LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0" \
        ctest --output-on-failure --parallel "$(nproc)")

    # 3. The fuzz targets, each for a bounded time.
    bash "$top/tools/fuzz.sh" "$asan" "${PROCHNAR_FUZZ_SECONDS:-25}"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
