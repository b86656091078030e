#!/usr/bin/env bash
# What `cmake --install` puts in place plays the demo: the installed host finds the
# installed plug-ins, and a copy of the installed demo folder runs headless for a few
# seconds, writing its frames; the installed host's lint finds its tool and passes the demo,
# and its play runs the demo's files.
# Skipped (77) without a display.
set -euo pipefail
build="$1"
[ -n "${DISPLAY:-}" ] || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cp -R "$work/prefix/share/corvane/demo" "$work/app"
cd "$work/app"
"$work/prefix/bin/corvane" --config headless.xml --frames 90 --fixed-step 0.0333333 >/dev/null
ls frames/*.png >/dev/null
"$work/prefix/bin/corvane" lint scene/demo.scene keyframes.xml --media media \
    --config headless.xml >/dev/null 2>&1
# The installed host plays the demo's own files with `corvane play`, from the installed
# runtime folder, leaving the copied demo folder as it was.
before="$(find "$work/app" | sort)"
XDG_CACHE_HOME="$work/cache" "$work/prefix/bin/corvane" play scene/demo.scene keyframes.xml \
    --media media --capture "$work/played" --every 10 --frames 40 --fixed-step 0.0333333 \
    >/dev/null 2>&1
ls "$work/played"/*.png >/dev/null
[ "$before" = "$(find "$work/app" | sort)" ]
