#include "base/os/PathMapping.h"

Westring MapPathName(const Westring& path) {
    return path;
}

Westring MapDirectoryName(const Westring& path) {
    return path;
}
