#!/usr/bin/env bash
# The host runs the viewer for a few frames in an application folder made from the
# runtime folder, then stops and unloads it; the process must end cleanly (exit 0).
# Skipped (77) without a display.
set -euo pipefail
host="$1"
runtime="$2"
[ -n "${DISPLAY:-}" ] || exit 77
app="$(mktemp -d)"
trap 'rm -rf "$app"' EXIT
cp -R "$runtime"/. "$app"
cat > "$app/corvane.xml" <<'XML'
<corvane>
  <plugin library="SceneViewer">
    <environment><scene src="none.scene"/></environment>
  </plugin>
</corvane>
XML
cd "$app"
"$host" --config corvane.xml --frames 5 --fixed-step 0.02
test -s plugins/SceneViewer_Release/Ogre.log
