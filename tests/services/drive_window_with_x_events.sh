#!/usr/bin/env bash
# The real host in a window of the X server, driven by the window system's own events
# instead of scripted input: a click on the menu's Resume button, Escape to open the menu
# again, and Q twice (with the input cooldown between) to end playback. The host must end
# by itself with status 0, which it does only if every one of those events arrived.
# Usage: drive_window_with_x_events.sh HOST DEMO_FOLDER. Exit 77 (skipped) without a
# display or without xdotool.
set -euo pipefail
host="$1"
demo="$2"
[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "no xdotool: skipped"; exit 77; }

app="$(mktemp -d)"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$app"
}
trap cleanup EXIT
cp -r "$demo"/. "$app"
rm -rf "$app/frames"
cd "$app"
cat > events.xml <<'CONFIG'
<corvane>
  <plugin library="SceneViewer">
    <environment>
      <searchpath src="../../scene"/>
      <searchpath src="../../media"/>
      <scene src="demo.scene"/>
    </environment>
  </plugin>
  <plugin library="UserInterface"/>
  <plugin library="PlaybackDirector"/>
  <plugin library="Sound"><environment><output mode="silent"/></environment></plugin>
</corvane>
CONFIG

"$host" --config events.xml --frames 200000 > host.log 2>&1 &
pid=$!
# The viewer shows its window once the scene is loaded.
window="$(timeout 30 xdotool search --sync --onlyvisible --name 'Corvane - SceneViewer::Ogre' | head -n 1)"
[ -n "$window" ] || { echo "the host opened no window"; cat host.log; exit 1; }

# Waits up to 15 s for a line in the host's output.
await() {
    for _ in $(seq 150); do
        grep -q "$1" host.log && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "never saw: $1"
    cat host.log
    exit 1
}

# The Resume button sits at the middle of the window, a third of the way down.
sleep 1
read -r width height < <(xdotool getwindowgeometry "$window" |
                         sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
send() {
    echo "sending: $*"
    if ! xdotool "$@" 2> >(grep -v XGetInputFocus >&2); then
        echo "xdotool failed; the host wrote:"
        cat host.log
        exit 1
    fi
}
send mousemove --window "$window" $((width / 2)) $((height * 33 / 100)) click --window "$window" 1
await "ZORV/EscapeMenu/Resume clicked"

sleep 0.7
send key --window "$window" Escape
sleep 0.7
send key --window "$window" q
sleep 0.7
# The host may close its window on this key's press, before the key's release is sent.
echo "sending: key --window $window q"
xdotool key --window "$window" q 2>/dev/null || true

for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the host did not end after Escape, Q, Q"
    cat host.log
    exit 1
fi
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { echo "the host ended with status $status"; cat host.log; exit 1; }
echo "the host ended with status 0"
