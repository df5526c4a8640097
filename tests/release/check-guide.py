#!/usr/bin/env python3
"""check-guide.py GUIDE SOURCE VERSION: the guide as a user opens it from a
package. It must be what tools/release/guide.py makes of SOURCE's README, in
CRLF lines Notepad shows whole, with no Markdown picture or link left, and
name the package's version, every status line Gun Test can show and the web
address Glimmerdot's logo opens, each as the programs' code has it."""
import os
import re
import subprocess
import sys

WIDTH = 78


def fail(message):
    sys.exit(f"FAIL: check-guide: {message}")


def literals(path, pattern):
    with open(path, encoding="utf-8") as source:
        return re.findall(pattern, source.read())


def status_lines(source):
    """Gun Test's status line formats, as patterns over the guide's words:
    each printf field stands for whatever word the guide puts there."""
    path = os.path.join(source, "guntest", "fact_lines.cpp")
    with open(path, encoding="utf-8") as code:
        body = re.search(r"void FormatStatusLine\(.*?\n}\n", code.read(), re.S)
    formats = re.findall(r'wsprintfA\(text, "((?:[^"\\]|\\.)*)"', body.group(0) if body else "")
    if not formats:
        fail(f"no status line found in {path}")
    return {text: re.compile(r"\S+".join(map(re.escape, re.split(r"%[-+ #0-9.]*[hl]*[a-zA-Z]", text))))
            for text in formats}


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: check-guide.py GUIDE SOURCE VERSION")
    guide_path, source, version = sys.argv[1:]
    with open(guide_path, "rb") as guide:
        shipped = guide.read()
    made = subprocess.run([sys.executable, os.path.join(source, "tools", "release", "guide.py"),
                           os.path.join(source, "README.md"), "-"], capture_output=True, check=False)
    if made.returncode != 0:
        fail(f"guide.py: {made.stderr.decode(errors='replace').strip()}")
    if shipped != made.stdout:
        fail(f"{guide_path} is not what guide.py makes of the README")

    lines = shipped.split(b"\r\n")
    if lines[-1] != b"" or any(b"\n" in line or b"\r" in line for line in lines):
        fail("not every line ends with CRLF")
    for number, line in enumerate(lines, 1):
        if len(line) > WIDTH:
            fail(f"line {number} has {len(line)} characters: {line!r}")
    text = shipped.decode("ascii")
    markdown = re.search(r"!\[|\]\(|`|^#", text, re.M)
    if markdown:
        fail(f"Markdown left: {text[markdown.start():markdown.start() + 40]!r}")

    words = " ".join(text.split())
    missing = [shown for shown, pattern in status_lines(source).items() if not pattern.search(words)]
    if missing:
        fail(f"Gun Test's status lines not in the guide: {missing}")
    address = literals(os.path.join(source, "panel", "window_behaviour.cpp"), r'kWebAddress\[\] = "([^"]+)"')
    if not address or address[0] not in words:
        fail(f"the logo's web address {address} is not in the guide")
    if not re.search(rf"(?<![\d.]){re.escape(version)}(?![\d.]*\d)", words):
        fail(f"the guide does not name version {version}")


if __name__ == "__main__":
    main()
