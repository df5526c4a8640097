#!/usr/bin/env bash
# Makes the README's pictures again from a demo run and a Gun Test run (after
# a window or the demo changed):  docs/make-pictures.sh
#   docs/window.png        the window as the demo shows it, conversion running
#   docs/cursor-path.png   the whole cursor path of the demo trace, with its clicks
#   docs/guntest.png       Gun Test's window, the gun aimed inside it with "A" held
#                          (docs/make-guntest-picture.sh, in a prefix of its own)
#   docs/calibration.png   Gun Test's calibration screen, the centre checked
#                          (docs/make-calibration-picture.sh, in a prefix of its own)
# Both run on a private Xvfb (looked for from :$GLIMMER_DEMO_XVFB, 96 by
# default), never on the user's display: the path is drawn only there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/build/demo
limit=$((100 * 1024))

env -u DISPLAY "$root/demo.sh"
for f in glimmerdot.png cursor-path.gif; do
  [[ -s $demo/$f ]] || { echo "make-pictures.sh: the demo left no $demo/$f" >&2; exit 1; }
done

convert "$demo/glimmerdot.png" -strip "$root/docs/window.png"
# The animation's last frame holds the whole path; its frames are stored as
# differences, so they are rebuilt whole first.
convert "$demo/cursor-path.gif" -coalesce -delete 0--2 -strip "$root/docs/cursor-path.png"

"$root/docs/make-guntest-picture.sh"
"$root/docs/make-calibration-picture.sh"

for f in window.png cursor-path.png guntest.png calibration.png; do
  size=$(stat -c %s "$root/docs/$f")
  ((size < limit)) || { echo "make-pictures.sh: docs/$f is $size bytes, over 100 KiB" >&2; exit 1; }
  echo "docs/$f: $(identify -format '%wx%h' "$root/docs/$f"), $size bytes"
done
