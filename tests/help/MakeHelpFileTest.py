#!/usr/bin/env python3
"""The help file builder: the bytes it writes, and the sources it refuses
with the place of the fault."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))
BUILDER = os.path.join(SOURCE_DIR, "help", "make-help-file.py")


def sections(data):
    """(id, [lines]) per section, walking the length chain to the end."""
    out = []
    position = 0
    while position < len(data):
        number, length = struct.unpack_from("<hh", data, position)
        assert length >= 4, f"section {number} has length {length}"
        body = data[position + 4:position + length]
        assert body.endswith(b"\0") or body == b"", body
        lines = body[:-1].split(b"\0") if body else []
        out.append((number, lines))
        position += length
    assert position == len(data), "the last section runs past the file"
    return out


class MakeHelpFileTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.output = os.path.join(self.folder.name, "out.qvh")

    def tearDown(self):
        self.folder.cleanup()

    def run_builder(self, text, encoding="utf-8"):
        source = os.path.join(self.folder.name, "help.txt")
        with open(source, "w", encoding=encoding, newline="") as f:
            f.write(text)
        result = subprocess.run([sys.executable, BUILDER, source, self.output],
                                capture_output=True, text=True)
        return result.returncode, result.stderr.replace(source, "SRC")

    def build(self, text):
        code, err = self.run_builder(text)
        self.assertEqual(0, code, err)
        with open(self.output, "rb") as f:
            return f.read()

    def refuse(self, text, message):
        if os.path.exists(self.output):
            os.remove(self.output)
        code, err = self.run_builder(text)
        self.assertEqual(1, code)
        self.assertIn(message, err)
        self.assertFalse(os.path.exists(self.output), "nothing is written for a refused source")

    def test_writes_sections_in_order_with_the_end_page_last(self):
        data = self.build("@section 30000 end\nNo page\n"
                          "@section 0 index\r\nIndex \u00e9\u2500\r\n\r\n  indented\r\n\r\n\r\n"
                          "@section -5\n@section 200\nx\n")
        self.assertEqual([(0, [b"Index \x82\xc4", b"", b"  indented"]), (-5, []), (200, [b"x"]),
                          (30000, [b"No page"])], sections(data))
        # The head counts itself: 4 + "x\0", then the end page's 4 + "No page\0".
        self.assertEqual(struct.pack("<hh", 200, 6) + b"x\0" + struct.pack("<hh", 30000, 12), data[-18:-8])

    def test_insert_puts_another_page_in_place(self):
        data = self.build("@section 0\nbefore\n@insert 7\nafter\n@section 7\nseven\n@section 30000\nend\n")
        self.assertEqual((0, [b"before", b"seven", b"after"]), sections(data)[0])
        self.assertEqual((7, [b"seven"]), sections(data)[1])

    def test_refuses_a_character_outside_code_page_850_with_its_place(self):
        self.refuse("@section 0\nfine\nbad \u20ac here\n@section 30000\n",
                    "SRC:3:5: error: '\u20ac' (U+20AC) is not in code page 850")
        self.refuse("@section 0\n\u201cquoted\u201d\n@section 30000\n", "SRC:2:1: error:")
        self.refuse("@section 0\na\tb\n@section 30000\n", "SRC:2:2: error: a tab")

    def test_refuses_an_over_long_section_at_its_head(self):
        line = "x" * 71
        # 4 + 460 * 72 = 33124 bytes: past the 16-bit length.
        self.refuse("@section 0\n@section 9\n" + (line + "\n") * 460 + "@section 30000\n",
                    "SRC:2: error: page 9 is 33124 bytes; a page holds at most 32767")
        # The largest that fits: 4 + 455 * 72 = 32764.
        data = self.build("@section 0\n@section 9\n" + (line + "\n") * 455 + "@section 30000\n")
        self.assertEqual(455, len(sections(data)[1][1]))
        # An inserted page counts towards the page that shows it.
        self.refuse("@section 0\n@insert 9\n@insert 9\n@section 9\n" + (line + "\n") * 300 +
                    "@section 30000\n", "SRC:1: error: page 0 is")

    def test_refuses_faulty_sources(self):
        cases = [
            ("@section 0\n" + "y" * 73 + "\n@section 30000\n", "SRC:2:73: error: line is 73 columns wide"),
            ("@section 0\n@section 30000\n@section 0\n", "SRC:3: error: page 0 again (first at line 1)"),
            ("@section 0\n@section 40000\n@section 30000\n", "SRC:2: error: page number 40000 does not fit"),
            ("@section x\n", "SRC:1: error: 'x' is not a page number"),
            ("@section 30000\n", "error: no page 0 (the index)"),
            ("@section 0\n", "error: no page 30000 (the end page)"),
            ("text\n@section 0\n@section 30000\n", "SRC:1:1: error: text before the first @section"),
            ("@section 0\n@sectoin 3\n@section 30000\n", "SRC:2:1: error: unknown directive"),
            ("@section 0\n@insert 4\n@section 30000\n", "SRC:2: error: @insert of page 4, which does not exist"),
            ("@section 0\n@insert 3\n@section 3\n@insert 0\n@section 30000\n", "inserts itself"),
        ]
        for text, message in cases:
            with self.subTest(message=message):
                self.refuse(text, message)

    def test_refuses_a_source_that_is_not_utf8(self):
        code, err = self.run_builder("@section 0\ncaf\u00e9\n@section 30000\n", encoding="latin-1")
        self.assertEqual(1, code)
        self.assertIn("not UTF-8", err)

    def test_the_shipped_source_builds(self):
        result = subprocess.run([sys.executable, BUILDER, os.path.join(SOURCE_DIR, "help", "quorvane.txt"),
                                 self.output], capture_output=True, text=True)
        self.assertEqual(0, result.returncode, result.stderr)
        pages = sections(open(self.output, "rb").read())
        self.assertEqual(30000, pages[-1][0])
        self.assertEqual(0, pages[0][0])


if __name__ == "__main__":
    unittest.main()
