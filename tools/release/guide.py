#!/usr/bin/env python3
"""guide.py README.md OUT.txt: the guide that ships beside the programs, made
from the README's section "Windows users" (OUT "-" writes to stdout).

Plain ASCII text with CRLF line ends and lines of at most 78 characters, so
that Notepad shows it whole. It knows the Markdown that section is written in
and no more: ### headings, paragraphs, "-" and "1." lists, fenced code,
`code`, links and pictures. A picture is left out (none ships), a link keeps its
words, and its address too when that is a web address; code stays on one line.
Anything else, a character outside ASCII, or a word or code line that does not
fit stops it with the README's line number."""
import re
import sys
import textwrap

SECTION = "## Windows users"
TITLE = "Glimmerdot Guide"
WIDTH = 78
CODE_INDENT = "    "
KEEP = "\0"  # a space that must not become a line break
ITEM = re.compile(r"(-|\d+\.) +")
PICTURE = re.compile(r"!\[[^\]]*\]\([^)]*\)")
LINK = re.compile(r"\[([^\]]+)\]\(([^)\s]+)\)")
ESCAPED = re.compile(r"\\([!-/:-@\[-`{-~])")


class GuideError(Exception):
    pass


def section_lines(readme):
    """(README line number, text) of the section, its own heading left out."""
    lines = readme.split("\n")
    try:
        start = lines.index(SECTION)
    except ValueError:
        raise GuideError(f'no section "{SECTION}"') from None
    fenced = False
    for number, line in enumerate(lines[start + 1:], start + 2):
        if line.lstrip().startswith("```"):
            fenced = not fenced
        if not fenced and line.startswith("## "):
            break
        if not line.isascii():
            raise GuideError(f"line {number}: not ASCII: {line!r}")
        yield number, line


def web_link(match):
    words, address = match.group(1), match.group(2)
    return f"{words} ({address})" if re.match(r"https?://|www\.", address) else words


def plain(text, number):
    """The words of a paragraph without Markdown; spaces inside code are KEEP."""
    parts = re.split(r"(`[^`]*`)", text)
    for i, part in enumerate(parts):
        if i % 2:
            parts[i] = part[1:-1].replace(" ", KEEP)
        else:
            part = LINK.sub(web_link, PICTURE.sub("", part))
            if "`" in part or "](" in part or "![" in part:
                raise GuideError(f"line {number}: Markdown the guide cannot show: {text!r}")
            parts[i] = ESCAPED.sub(r"\1", part)
    return "".join(parts)


def wrapped(text, number, first="", rest=""):
    wrapper = textwrap.TextWrapper(width=WIDTH, initial_indent=first, subsequent_indent=rest,
                                   break_long_words=False, break_on_hyphens=False)
    lines = wrapper.wrap(" ".join(plain(text, number).split()))
    for line in lines:
        if len(line) > WIDTH:
            word = line.split()[0].replace(KEEP, " ")
            raise GuideError(f"line {number}: {word!r} does not fit in {WIDTH} characters")
    return [line.replace(KEEP, " ") for line in lines]


class Guide:
    def __init__(self):
        self.lines = [TITLE, "=" * len(TITLE)]
        self.block = None   # (README line number, marker or None, words)
        self.listing = None  # "-" or "1." while a list runs

    def gap(self):
        if self.lines[-1] != "":
            self.lines.append("")

    def flush(self):
        if self.block is None:
            return
        number, marker, words = self.block
        self.block = None
        if marker is None:
            self.gap()
            self.lines += wrapped(words, number)
            self.listing = None
            return
        kind = "-" if marker == "-" else "1."
        if self.listing != kind:
            self.gap()
        indent = " " * (len(marker) + 1)
        self.lines += wrapped(words, number, marker + " ", indent)
        self.listing = kind

    def heading(self, text, number):
        self.flush()
        self.gap()
        self.lines += wrapped(text, number)
        self.lines += ["-" * len(self.lines[-1]), ""]
        self.listing = None

    def code(self, lines):
        self.flush()
        self.gap()
        indent = min((len(line) - len(line.lstrip()) for _, line in lines if line.strip()), default=0)
        for number, line in lines:
            line = CODE_INDENT + line[indent:].rstrip() if line.strip() else ""
            if len(line) > WIDTH:
                raise GuideError(f"line {number}: code longer than {WIDTH - len(CODE_INDENT)} characters")
            self.lines.append(line)
        self.gap()
        self.listing = None

    def text(self, line, number):
        item = ITEM.match(line)
        if item:
            self.flush()
            self.block = (number, item.group(1), line[item.end():])
        elif self.block is None:
            self.block = (number, None, line.strip())
        else:
            self.block = (self.block[0], self.block[1], self.block[2] + " " + line.strip())

    def finish(self):
        self.flush()
        while self.lines[-1] == "":
            self.lines.pop()
        return "".join(line + "\r\n" for line in self.lines)


def make_guide(readme):
    guide = Guide()
    lines = list(section_lines(readme))
    i = 0
    while i < len(lines):
        number, line = lines[i]
        i += 1
        stripped = line.strip()
        if stripped.startswith("```"):
            body = []
            while i < len(lines) and not lines[i][1].strip().startswith("```"):
                body.append(lines[i])
                i += 1
            if i == len(lines):
                raise GuideError(f"line {number}: code without its closing ```")
            i += 1
            guide.code(body)
        elif not stripped:
            guide.flush()
        elif line.startswith("### "):
            guide.heading(line[4:].strip(), number)
        elif line.startswith(("#", "|", ">", "<")):
            raise GuideError(f"line {number}: Markdown the guide cannot show: {line!r}")
        else:
            guide.text(line, number)
    return guide.finish()


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: guide.py README.md OUT.txt")
    with open(sys.argv[1], encoding="utf-8") as source:
        readme = source.read()
    try:
        text = make_guide(readme)
    except GuideError as error:
        sys.exit(f"guide.py: {sys.argv[1]}: {error}")
    if sys.argv[2] == "-":
        sys.stdout.buffer.write(text.encode("ascii"))
    else:
        with open(sys.argv[2], "wb") as out:
            out.write(text.encode("ascii"))


if __name__ == "__main__":
    main()
