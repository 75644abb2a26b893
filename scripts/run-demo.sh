#!/usr/bin/env bash
# Starts the program. Until the demo case exists it starts without one.
set -euo pipefail
dir=${1:-build/default}
exec "$dir/src/app/zor" "${@:2}"
