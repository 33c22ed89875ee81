#!/usr/bin/env bash
# The main job: installs what is missing, builds everything and runs it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
ensure_wineprefix
echo "== run: foundation library self-check"
wine "$build/tests/foundation/foundation_tests.exe" --gtest_brief=1
