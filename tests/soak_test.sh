#!/usr/bin/env bash
# Runs the soak command on an already built tree; skipped (77) without a display.
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exit 77
CORVANE_BUILD="$2" CORVANE_SOAK_NO_BUILD=1 exec "$1" "$3"
