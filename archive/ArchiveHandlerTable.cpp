#include "archive/ArchiveReaders.h"

// Tar over a compressor comes before the plain compressor, so that a
// compressed tar file opens as a tar archive and any other compressed file
// as a one-member archive.
const TArchiveHandler ArchiveHandlerTable[14] = {
    {ReadZipDirectory, 0},    {ReadRarDirectory, 1}, {ReadLhaDirectory, 2},     {ReadArjDirectory, 3},
    {ReadAceDirectory, 4},    {ReadHaDirectory, 5},  {ReadTarGzDirectory, 11},  {ReadGzipDirectory, 6},
    {ReadTarDirectory, 7},    {Read7zDirectory, 8},  {ReadTarBz2Directory, 12}, {ReadBzip2Directory, 9},
    {ReadTarXzDirectory, 13}, {ReadXzDirectory, 10},
};

void InstallArchiveReaders() {
    ArchiveHandlers = ArchiveHandlerTable;
    ArchiveHandlerCount = 14;
}
