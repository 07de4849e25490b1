#!/usr/bin/env bash
# Builds the Linux plug-ins and plays the test host's phrase of notes through Tavrune with its
# shift turned up from the default, printing the events that go in and come out.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh native

echo "==> Building the native target (build/native)"
cmake --preset native >/dev/null
cmake --build --preset native --target tavrune testhost

echo
echo "==> Tavrune with parameter 0 (the shift) at 0.55"
build/native/bin/testhost build/native/bin/tavrune.so --param 0=0.55
