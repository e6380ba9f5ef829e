// C7zDatabase: the file table of a 7z archive, read from the archive's
// header database as the 7z format describes it. A packed header is first
// decoded (LZMA, LZMA2 or a plain copy); any other coder, an encrypted
// header or anything that does not add up means the file is not read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class C7zDatabase {
public:
    struct TFile {
        std::u16string name;
        bool hasName = false;
        bool isDirectory = false;
        bool hasTime = false;
        uint64_t fileTime = 0;  // Windows file time
        uint64_t size = 0;
    };

    // Reads exactly n bytes at the offset; false when they are not there.
    using TReadAt = std::function<bool(uint64_t offset, void* buffer, size_t n)>;

    // Reads the database of a file of `fileSize` bytes: true when it is a 7z
    // archive whose file table could be read.
    bool Read(const TReadAt& readAt, uint64_t fileSize);

    std::vector<TFile> files;
    bool namesStored = false;
    uint64_t packedTotal = 0;  // the sizes of all packed streams
};
