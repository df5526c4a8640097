#!/usr/bin/env python3
"""Draws the cursor's path from demo_player's samples over a screenshot, one
frame per trace step, into an animated GIF and a strip of frames (ImageMagick).

    animate.py SAMPLES SCREENSHOT OUT_GIF OUT_STRIP
"""
import subprocess
import sys

SCALE = 0.5  # frames at half the screen's size
CLICK_COLOURS = {"left": "yellow", "middle": "cyan", "right": "magenta"}
LEGEND = " cursor path: red   clicks: left yellow, middle cyan, right magenta "
LABELS = {("FF", "FF"): "", ("FF", "7F"): "Start", ("FF", "BF"): "Select", ("FB", "FF"): "A",
          ("F7", "FF"): "B", ("FD", "FF"): "C", ("FF", "DF"): "D"}


def read_samples(path):
    steps, points, clicks = [], [], []
    for line in open(path):
        words = line.split()
        if not words:
            continue
        if words[0] == "step":
            steps.append({"n": int(words[1]), "ms": int(words[2]), "b0": words[3], "b1": words[4],
                          "x": int(words[5]), "y": int(words[6])})
        elif words[0] == "at":
            points.append((int(words[1]), int(words[2]), int(words[3])))
        elif words[0] == "click":
            clicks.append((int(words[1]), words[2], int(words[3]), int(words[4])))
    return steps, points, clicks


def frame_drawing(upto_ms, points, clicks, caption, with_text):
    """ImageMagick options that draw one frame over a copy of the background."""
    path = [(x * SCALE, y * SCALE) for ms, x, y in points if ms <= upto_ms]
    ops = ["(", "-clone", "0", "-fill", "none", "-stroke", "red", "-strokewidth", "2"]
    if len(path) > 1:
        ops += ["-draw", "polyline " + " ".join(f"{x:.0f},{y:.0f}" for x, y in path)]
    for ms, name, x, y in clicks:
        if ms <= upto_ms and name.endswith("-down"):
            colour = CLICK_COLOURS.get(name.split("-")[0], "white")
            cx, cy = x * SCALE, y * SCALE
            ops += ["-stroke", "black", "-fill", colour, "-draw", f"circle {cx:.0f},{cy:.0f} {cx + 7:.0f},{cy:.0f}"]
    if path:
        x, y = path[-1]
        ops += ["-stroke", "lime", "-strokewidth", "2", "-fill", "none",
                "-draw", f"circle {x:.0f},{y:.0f} {x + 10:.0f},{y:.0f}",
                "-draw", f"line {x - 16:.0f},{y:.0f} {x + 16:.0f},{y:.0f}",
                "-draw", f"line {x:.0f},{y - 16:.0f} {x:.0f},{y + 16:.0f}"]
    if with_text:
        ops += ["-stroke", "none", "-fill", "white", "-undercolor", "#000000C0", "-pointsize", "14",
                "-gravity", "south", "-annotate", "+0+6", caption,
                "-gravity", "northeast", "-annotate", "+6+6", LEGEND, "-gravity", "northwest"]
    ops += [")"]
    return ops


def main():
    samples, screenshot, out_gif, out_strip = sys.argv[1:5]
    steps, points, clicks = read_samples(samples)
    if not steps:
        sys.exit("animate: no steps in " + samples)
    def build(with_text):
        frames = []
        for i, step in enumerate(steps):
            end_ms = steps[i + 1]["ms"] if i + 1 < len(steps) else 1 << 30
            pressed = LABELS.get((step["b0"], step["b1"]), "?")
            caption = (f" step {step['n']}/{len(steps)}: gun {step['b0']} {step['b1']} aims at raw "
                       f"{step['x']},{step['y']}" + (f", \"{pressed}\" pressed " if pressed else " "))
            frames.append(frame_drawing(end_ms - 1, points, clicks, caption, with_text))
        base = ["convert", screenshot, "-resize", f"{int(SCALE * 100)}%"]
        gif = base + sum(frames, []) + ["-delete", "0", "-set", "delay", "40", "-loop", "0", "-layers", "Optimize",
                                        out_gif]
        # The strip: every fifth frame and the last, side by side at a quarter size.
        picked = [f for i, f in enumerate(frames) if i % 5 == 4 or i == len(frames) - 1]
        strip = base + sum(picked, []) + ["-delete", "0", "-resize", "50%", "-bordercolor", "gray40", "-border", "2",
                                          "+append", out_strip]
        return gif, strip
    for with_text in (True, False):  # without fonts, frames without captions
        gif, strip = build(with_text)
        if subprocess.run(gif, stderr=subprocess.DEVNULL).returncode == 0 and \
           subprocess.run(strip, stderr=subprocess.DEVNULL).returncode == 0:
            return
    sys.exit("animate: ImageMagick could not draw the frames")


if __name__ == "__main__":
    main()
