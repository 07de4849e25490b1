#!/usr/bin/env bash
# Makes sure the Debian packages the build needs are installed. As root it installs what is
# missing; otherwise it prints the one command that would, and fails.
#
#   setup.sh native   the Linux build: enough for the demo
#   setup.sh all      also the Windows cross compilers and Wine: what the tests need
set -euo pipefail

native_packages=(cmake ninja-build g++ pkg-config binutils libgtest-dev libgmock-dev
    libbenchmark-dev libsmf-dev libsndfile1-dev)
# git and clang-format check the formatting of the sources. Wine comes from wine64 alone: this
# machine cannot run the 32-bit loader that "wine" prefers.
cross_packages=(git clang-format g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 clang
    libclang-rt-14-dev)

case "${1:-all}" in
native) wanted=("${native_packages[@]}") ;;
all) wanted=("${native_packages[@]}" "${cross_packages[@]}") ;;
*)
    echo "usage: setup.sh [native|all]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [[ "$status" == installed ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "setup.sh: these packages are missing: ${missing[*]}" >&2
    echo "Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "setup.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y "${missing[@]}"
