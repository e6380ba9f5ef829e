// The block walk of the RAR reader, open to its tests.
#pragma once

#include <cstdint>

#include "app/panels/PanelArchive.h"

// The block in hand: where it starts and how much of its header was read
// into the archive's header buffer.
struct TRarBlock {
    int64_t start = 0;
    int bytesRead = 0;  // 0: no block read yet
    unsigned type = 0;
    unsigned flags = 0;
    int headerSize = 0;
};

// Moves past the block in hand (its header and the data it announces) and
// reads the next block's seven-byte base header: 0, or all ones.
DWORD ReadRarBlockHeader(CArchive& archive, TRarBlock& block);

// The name field of a file header with a Unicode name: UTF-8 when the field
// holds no zero byte, else the 8-bit name followed by its encoded wide form.
// Reads nothing outside the field.
Westring DecodeRarUnicodeName(const unsigned char* field, int size);
