// The tar readers, plain and over gzip, bzip2 and xz, and the single-file
// compressors on arbitrary bytes.
#include "archive/ArchiveReaders.h"
#include "tests/archive/fuzz/ArchiveReaderFuzz.h"

QV_ARCHIVE_FUZZ_TARGET({ReadTarGzDirectory, 11}, {ReadGzipDirectory, 6}, {ReadTarDirectory, 7},
                       {ReadTarBz2Directory, 12}, {ReadBzip2Directory, 9}, {ReadTarXzDirectory, 13},
                       {ReadXzDirectory, 10})
