#!/usr/bin/env bash
# Installs the dependencies, builds the module and the stand-in host, and
# runs the host: it loads the module, runs the sample interface's start-up
# script, feeds the sample window messages and writes the last rendered frame
# as a PNG file (every frame when --all-frames is passed; arguments go to the
# host). JOBS sets the build's parallel jobs (the number of processors by
# default).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only what the run needs: the module and the stand-in host with its
# resource root (the test command builds the tests and benchmarks).
cmake --build build -j"${JOBS:-$(nproc)}" --target qgui qhost
OUT="${OUT:-$ROOT/out}"
mkdir -p "$OUT"
# The sample interface: main.lua loads the "QX" style and opens its panels;
# the event script clicks the casting panel's button, the main panel's
# button (the engine client prints the message the click posts), types a
# key, drags the casting panel's plate, clicks a name in the rich-text panel,
# a bag slot and the web panel's link (refused; the host prints the message
# box), and in the chat panel chooses a tab, types a line, links an item
# into it and sends it with Enter (the engine client prints each message;
# the game sends the line back into the chat box, beside the lines the chat
# panel's clock pushes, and hands over another player's answer through a
# script global), in the file-browser panel opens the folder "layouts",
# then rests the mouse on a bag slot until the game tooltip shows with its
# comparison. A later --events or --script in the arguments replaces the
# sample's; --strict makes errors or warnings in the GUI log fail the run.
cd build/root
status=0
"$ROOT/build/host/qhost" --module "$ROOT/build/src/libqgui.so" --root . --frames "${FRAMES:-80}" \
  --out "$OUT" --script main.lua --events resource/UI/events/sample.events "$@" || status=$?
# Script failures and files not found do not stop the module; they are
# logged as errors and warnings.
if grep -qE '\((Error|Warn)\)' CEGUI.log; then
  echo "warning: the GUI log has errors or warnings:" >&2
  grep -E -A3 '\((Error|Warn)\)' CEGUI.log >&2
fi
echo "PNG written to $OUT: the last frame, or every frame with --all-frames (GUI log: $ROOT/build/root/CEGUI.log)"
exit "$status"
