#!/usr/bin/env python3
"""The layer check on small fixture trees: a clean tree passes, an include
that reaches a higher layer fails and names the file and the include."""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'cmake', 'check-layers.py')

TABLE = '''# bottom first
qv_layer(qv_low low LIBS something)
qv_layer(qv_mid app/mid)
qv_layer(qv_top app/top EXCLUDE "/main\\\\.cpp$")
'''

CLEAN = {
    'low/Low.h': '#pragma once\n#include <vector>\n#include "low/Other.h"\n',
    'low/Other.h': '#pragma once\n',
    'app/mid/Mid.h': '#pragma once\n#include "low/Low.h"\n',
    'app/mid/Mid.cpp': '#include "app/mid/Mid.h"\n#include "low/Other.h"\n',
    'app/top/Top.cpp': '#include "app/mid/Mid.h"\n  #  include "low/Low.h"\n',
    'tests/app/mid/MidTest.cpp': '#include "app/mid/Mid.h"\n#include "tests/low/LowSupport.h"\n',
    'tests/low/LowSupport.h': '#pragma once\n#include "low/Low.h"\n',
    # Outside the layers: may include anything.
    'tools/Tool.cpp': '#include "app/top/Top.h"\n',
    # The build tree is never looked at.
    'build/gen/Gen.h': '#include "app/top/Top.h"\n',
}


class CheckLayersTest(unittest.TestCase):
    def make_tree(self, extra):
        root = tempfile.mkdtemp(prefix='qv-layers-')
        self.addCleanup(subprocess.run, ['rm', '-rf', root])
        files = dict(CLEAN)
        files['cmake/QvLayers.cmake'] = TABLE
        files.update(extra)
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w', encoding='utf-8') as out:
                out.write(text)
        return root

    def run_check(self, root):
        return subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)

    def test_clean_tree_passes(self):
        result = self.run_check(self.make_tree({}))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout, '')

    def test_upward_includes_fail_naming_file_and_include(self):
        cases = [
            # (file, its text, the line the report must start with)
            ('low/Low.h', '#pragma once\n#include "app/mid/Mid.h"\n', 'low/Low.h:2: #include "app/mid/Mid.h"'),
            ('app/mid/Mid.cpp', '#include "app/top/Top.h"\n', 'app/mid/Mid.cpp:1: #include "app/top/Top.h"'),
            ('app/mid/New.cpp', '\n\n# include "app/top/Top.h"\n', 'app/mid/New.cpp:3: #include "app/top/Top.h"'),
            ('tests/low/LowTest.cpp', '#include "app/mid/Mid.h"\n', 'tests/low/LowTest.cpp:1: #include "app/mid/Mid.h"'),
            ('tests/low/LowSupport.h', '#include "tests/app/mid/Helper.h"\n',
             'tests/low/LowSupport.h:1: #include "tests/app/mid/Helper.h"'),
        ]
        for path, text, report in cases:
            with self.subTest(path=path):
                result = self.run_check(self.make_tree({path: text}))
                self.assertEqual(result.returncode, 1, result.stdout)
                lines = result.stdout.splitlines()
                self.assertEqual(len(lines), 2, result.stdout)
                self.assertTrue(lines[0].startswith(report), result.stdout)

    def test_every_upward_include_is_reported(self):
        root = self.make_tree({
            'low/Low.h': '#include "app/top/Top.h"\n#include "app/mid/Mid.h"\n',
            'app/mid/Mid.h': '#include "app/top/Top.h"\n',
        })
        result = self.run_check(root)
        self.assertEqual(result.returncode, 1)
        self.assertIn('low/Low.h:1:', result.stdout)
        self.assertIn('low/Low.h:2:', result.stdout)
        self.assertIn('app/mid/Mid.h:1:', result.stdout)

    def test_a_tree_without_layers_is_an_error(self):
        root = self.make_tree({'cmake/QvLayers.cmake': '# nothing here\n'})
        self.assertEqual(self.run_check(root).returncode, 2)


if __name__ == '__main__':
    unittest.main()
