#!/usr/bin/env python3
"""Turns the help source into the help file that ships beside the program.

Source: UTF-8 text, one page after another. A page starts with the line
"@section ID" (anything after the id is a note for the writer); the lines up
to the next "@section" are its text, trailing blank lines dropped. Inside a
page, "@insert ID" puts another page's text there, so a page that no key
reaches can still be read from the index. No other line may start with "@".

Help file: per page, little-endian, a signed 16-bit id, a signed 16-bit length
that counts its 4-byte head, then each line in code page 850 with a zero after
it. Page 30000 (shown for a page that does not exist) is written last.

The build stops, naming the place in the source, on a character that code page
850 cannot hold, a line wider than the help window, a page too long for its
16-bit length, a repeated or out-of-range id, or a missing index or end page.
"""

import os
import sys

INDEX_PAGE = 0
END_PAGE = 30000
# The help window's text rows are this wide; a longer line would be cut off.
MAX_LINE_WIDTH = 72
MAX_SECTION_LENGTH = 0x7FFF
HEAD_SIZE = 4
CODE_PAGE = "cp850"


class HelpSourceError(Exception):
    def __init__(self, source, line, column, text):
        place = f"{source}:{line}" + (f":{column}" if column else "")
        super().__init__(f"{place}: error: {text}")


class Page:
    def __init__(self, number, line):
        self.number = number
        self.line = line  # where its "@section" stands
        self.items = []  # (source line, encoded bytes) or (source line, page id to insert)


def parse_id(text, source, line):
    try:
        number = int(text)
    except ValueError:
        raise HelpSourceError(source, line, 0, f"'{text}' is not a page number")
    if not -0x8000 <= number <= 0x7FFF:
        raise HelpSourceError(source, line, 0, f"page number {number} does not fit in 16 bits")
    return number


def encode_line(text, source, line):
    for column, char in enumerate(text, 1):
        if char == "\0" or (ord(char) < 32 and char != "\t"):
            raise HelpSourceError(source, line, column, f"control character U+{ord(char):04X}")
        if char == "\t":
            raise HelpSourceError(source, line, column, "a tab: write blanks instead")
        try:
            char.encode(CODE_PAGE)
        except UnicodeEncodeError:
            raise HelpSourceError(source, line, column,
                                  f"'{char}' (U+{ord(char):04X}) is not in code page 850")
    if len(text) > MAX_LINE_WIDTH:
        raise HelpSourceError(source, line, MAX_LINE_WIDTH + 1,
                              f"line is {len(text)} columns wide; the help window shows {MAX_LINE_WIDTH}")
    return text.encode(CODE_PAGE)


def parse(text, source):
    pages = {}
    order = []
    page = None
    for number, raw in enumerate(text.split("\n"), 1):
        line = raw[:-1] if raw.endswith("\r") else raw
        if line.startswith("@"):
            words = line[1:].split()
            keyword = words[0] if words else ""
            if keyword == "section" and len(words) >= 2:
                page_id = parse_id(words[1], source, number)
                if page_id in pages:
                    raise HelpSourceError(source, number, 0,
                                          f"page {page_id} again (first at line {pages[page_id].line})")
                page = Page(page_id, number)
                pages[page_id] = page
                order.append(page)
                continue
            if keyword == "insert" and len(words) == 2 and page is not None:
                page.items.append((number, parse_id(words[1], source, number)))
                continue
            raise HelpSourceError(source, number, 1, f"unknown directive '{line}'")
        if page is None:
            if line.strip():
                raise HelpSourceError(source, number, 1, "text before the first @section")
            continue
        page.items.append((number, encode_line(line, source, number)))
    for page in order:
        while page.items and page.items[-1][1] == b"":
            page.items.pop()
    for needed, what in ((INDEX_PAGE, "the index"), (END_PAGE, "the end page")):
        if needed not in pages:
            raise HelpSourceError(source, 1, 0, f"no page {needed} ({what})")
    return pages, order


def page_lines(page, pages, source, seen=()):
    lines = []
    for line, item in page.items:
        if isinstance(item, bytes):
            lines.append(item)
            continue
        if item not in pages:
            raise HelpSourceError(source, line, 0, f"@insert of page {item}, which does not exist")
        if item in seen or item == page.number:
            raise HelpSourceError(source, line, 0, f"@insert of page {item} inserts itself")
        lines += page_lines(pages[item], pages, source, seen + (page.number,))
    return lines


def build(text, source):
    pages, order = parse(text, source)
    out = bytearray()
    for page in [p for p in order if p.number != END_PAGE] + [pages[END_PAGE]]:
        body = b"".join(line + b"\0" for line in page_lines(page, pages, source))
        length = HEAD_SIZE + len(body)
        if length > MAX_SECTION_LENGTH:
            raise HelpSourceError(source, page.line, 0,
                                  f"page {page.number} is {length} bytes; a page holds at most "
                                  f"{MAX_SECTION_LENGTH}: split it")
        out += page.number.to_bytes(2, "little", signed=True)
        out += length.to_bytes(2, "little", signed=True)
        out += body
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        print(f"usage: {argv[0]} SOURCE OUTPUT", file=sys.stderr)
        return 2
    source, output = argv[1], argv[2]
    try:
        with open(source, encoding="utf-8") as f:
            text = f.read()
    except UnicodeDecodeError as e:
        print(f"{source}: error: not UTF-8 text ({e})", file=sys.stderr)
        return 1
    try:
        data = build(text, source)
    except HelpSourceError as e:
        print(e, file=sys.stderr)
        return 1
    # Replaced whole: a failed write leaves the old file as it was.
    folder = os.path.dirname(os.path.abspath(output))
    os.makedirs(folder, exist_ok=True)
    temporary = output + ".new"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
