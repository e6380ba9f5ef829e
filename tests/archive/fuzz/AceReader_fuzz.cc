// The Ace reader on arbitrary bytes.
#include "archive/ArchiveReaders.h"
#include "tests/archive/fuzz/ArchiveReaderFuzz.h"

QV_ARCHIVE_FUZZ_TARGET({ReadAceDirectory, 4})
