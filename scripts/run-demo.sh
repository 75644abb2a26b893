#!/usr/bin/env bash
# Opens the built-in demo case: a synthetic hip radiograph with a complete
# measurement and invented patient data. The case is made in the build tree
# (or in the folder given as second argument) the first time, so that
# "&Write Data" there touches nothing of the user's.
#   scripts/run-demo.sh BUILD_DIR [DEMO_DIR] [zor options...]
set -euo pipefail
dir=${1:-build/default}
demo=${2:-$dir/demo}
exec "$dir/src/app/zor" --demo "$demo" "${@:3}"
