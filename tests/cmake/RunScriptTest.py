#!/usr/bin/env python3
"""./run on a copy of the tree, with stand-ins for apt-get, dpkg-query and
cmake on PATH: it builds in the tree but starts the host in the folder it was
called from with the caller's arguments, and apt-get waits for the package
lock rather than failing at once."""
import os
import shutil
import stat
import subprocess
import tempfile
import unittest

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')

STANDINS = {
    # Every package counts as missing, so that apt-get is called.
    'dpkg-query': 'exit 1\n',
    'apt-get': 'echo "$*" >> "$QV_TEST_LOG/apt-get"\n',
    'sudo': 'exec "$@"\n',
    # The build makes a host that tells where and with what it started.
    'cmake': '''if [ "$1" = --build ]; then
    mkdir -p "$2/bin"
    printf '#!/bin/sh\\npwd > "$QV_TEST_LOG/host"\\nprintf "%%s\\\\n" "$@" >> "$QV_TEST_LOG/host"\\n' > "$2/bin/qvhost"
    chmod +x "$2/bin/qvhost"
fi
''',
}


def write_program(path, body):
    with open(path, 'w') as f:
        f.write('#!/bin/sh\n' + body)
    os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)


class RunScriptTest(unittest.TestCase):
    def test_starts_in_the_callers_folder_and_waits_for_the_package_lock(self):
        work = tempfile.mkdtemp(prefix='qv-run-')
        self.addCleanup(shutil.rmtree, work)
        tree = os.path.join(work, 'tree')
        os.makedirs(os.path.join(tree, 'cmake'))
        shutil.copy(os.path.join(SOURCE, 'run'), tree)
        shutil.copy(os.path.join(SOURCE, 'cmake', 'setup.sh'), os.path.join(tree, 'cmake'))
        standins = os.path.join(work, 'bin')
        os.makedirs(standins)
        for name, body in STANDINS.items():
            write_program(os.path.join(standins, name), body)
        log = os.path.join(work, 'log')
        caller = os.path.join(work, 'caller')
        os.makedirs(log)
        os.makedirs(caller)
        env = dict(os.environ, PATH=standins + ':' + os.environ['PATH'], QV_TEST_LOG=log,
                   CCACHE_DIR=os.path.join(work, 'ccache'))
        result = subprocess.run([os.path.join(tree, 'run'), '-s', 'list.qvs', 'a b'], cwd=caller, env=env,
                                capture_output=True, text=True)
        self.assertEqual(0, result.returncode, result.stderr)
        with open(os.path.join(log, 'host')) as f:
            self.assertEqual([os.path.realpath(caller), '-s', 'list.qvs', 'a b'], f.read().splitlines())
        with open(os.path.join(log, 'apt-get')) as f:
            calls = f.read().splitlines()
        self.assertEqual(2, len(calls), calls)
        for call in calls:
            self.assertIn('-o DPkg::Lock::Timeout=', call)


if __name__ == '__main__':
    unittest.main()
