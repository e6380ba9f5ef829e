// The live definitions of the 14 external archivers: the command lines that
// extract, add, update and delete members, how a list of names is handed
// over, and how a directory is named. Built from ArchiverCommandTable, then
// changed by the "[Archiver:...]" sections of the ini file.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"

enum { ArchiverCount = 14 };

struct TArchiverSettings {
    Estring Extract;
    Estring ExtractListfileSwitch;
    Estring Compress;
    Estring CompressUpdate;  // empty: Compress serves
    Estring CompressListfileSwitch;
    Estring Delete;  // empty: deleting is not supported
    Estring CompressDirSpec;
    Estring ExtractDirSpec;
    uint8_t slashFlag = 0;  // names go to the archiver with '/' (TAR, TAR/GZIP)
};

extern TArchiverSettings ArchiverSettings[ArchiverCount];

// Puts the built-in commands into every archiver's settings.
void SetDefaultArchiverCommands();
// "ZIP", "RAR", ... "TAR/XZ"; empty for an index out of range.
Estring GetArchiverName(int index);
