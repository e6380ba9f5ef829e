#!/usr/bin/env python3
"""Rejects every #include that reaches a higher layer.

The layers and their folders come from cmake/QvLayers.cmake, bottom first. A
source file belongs to the layer whose folder holds it (the longest folder
that is a prefix of its path); a file under tests/<folder> belongs to the layer
of <folder>. An include of a file in a layer above the including file's layer
is reported with the file, the line and the include; the exit status is 1 when
there is any. Includes of files outside the layers (the console hosts, the
test helpers, system headers) are not layered and pass.

Usage: check-layers.py [source root]   (default: the tree this script is in)
"""
import os
import re
import sys

LAYER_LINE = re.compile(r'^\s*qv_layer\(\s*([^\s)]+)\s+([^\s)]+)')
INCLUDE_LINE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = ('.h', '.hpp', '.c', '.cc', '.cpp')
SKIPPED_DIRS = {'.git', 'build'}


def read_layers(root):
    layers = []
    with open(os.path.join(root, 'cmake', 'QvLayers.cmake'), encoding='utf-8') as table:
        for line in table:
            match = LAYER_LINE.match(line)
            if match:
                layers.append((match.group(1), match.group(2).strip('/')))
    return layers


def layer_of(path, layers):
    """Index of the layer that holds a path relative to the root, or None."""
    if path.startswith('tests/'):
        path = path[len('tests/'):]
    best = None
    best_length = -1
    for index, (_, folder) in enumerate(layers):
        if (path == folder or path.startswith(folder + '/')) and len(folder) > best_length:
            best, best_length = index, len(folder)
    return best


def check(root):
    layers = read_layers(root)
    if not layers:
        print(f'{root}: no qv_layer lines in cmake/QvLayers.cmake', file=sys.stderr)
        return 2
    faults = 0
    for directory, subdirs, files in os.walk(root):
        subdirs[:] = sorted(d for d in subdirs if d not in SKIPPED_DIRS and not d.startswith('build'))
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            full = os.path.join(directory, name)
            relative = os.path.relpath(full, root).replace(os.sep, '/')
            own = layer_of(relative, layers)
            if own is None:
                continue
            with open(full, encoding='utf-8', errors='replace') as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE_LINE.match(line)
                    if not match:
                        continue
                    included = match.group(1)
                    target = layer_of(included, layers)
                    if target is not None and target > own:
                        print(f'{relative}:{number}: #include "{included}" reaches {layers[target][0]}, '
                              f'above {layers[own][0]}')
                        faults += 1
    if faults:
        print(f'{faults} include(s) reach a higher layer (order: {" < ".join(lib for lib, _ in layers)})')
        return 1
    return 0


if __name__ == '__main__':
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    sys.exit(check(sys.argv[1] if len(sys.argv) > 1 else here))
