// The archive readers, one per format, in the order ArchiveHandlerTable tries
// them. Each looks at the open archive file, and when the file is of its
// format adds one TArchiveEntry per member: 0, or ArchiveNotRecognised for
// a file of another format or a damaged one (after a message where the
// format has one).
#pragma once

#include "app/panels/PanelArchive.h"

DWORD ReadZipDirectory(CArchive& archive);
DWORD ReadRarDirectory(CArchive& archive);
DWORD ReadLhaDirectory(CArchive& archive);
DWORD ReadArjDirectory(CArchive& archive);
DWORD ReadAceDirectory(CArchive& archive);
DWORD ReadHaDirectory(CArchive& archive);
DWORD ReadTarGzDirectory(CArchive& archive);
DWORD ReadGzipDirectory(CArchive& archive);
DWORD ReadTarDirectory(CArchive& archive);
DWORD Read7zDirectory(CArchive& archive);
DWORD ReadTarBz2Directory(CArchive& archive);
DWORD ReadBzip2Directory(CArchive& archive);
DWORD ReadTarXzDirectory(CArchive& archive);
DWORD ReadXzDirectory(CArchive& archive);

// The readers in the order they are tried, with their archiver indexes.
extern const TArchiveHandler ArchiveHandlerTable[14];

// Makes ArchiveHandlerTable the table every CArchive tries.
void InstallArchiveReaders();
