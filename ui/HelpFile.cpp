#include "ui/HelpFile.h"

#include <cstdint>

#include "base/io/StdFile.h"
#include "base/strings/Estring.h"

namespace {

const int SectionHeadSize = 4;
const UINT HelpCodePage = 850;

// The whole help file, or null.
unsigned char* HelpBuffer = nullptr;
int64_t HelpBufferSize = 0;

int16_t ReadI16(const unsigned char* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

// The body of the section to show for the id: its start and end offsets in
// the buffer. False when the walk met no such section and no end section.
bool FindSection(int id, int64_t& bodyStart, int64_t& bodyEnd) {
    int64_t position = 0;
    while (position + SectionHeadSize <= HelpBufferSize) {
        int sectionId = ReadI16(HelpBuffer + position);
        int length = ReadI16(HelpBuffer + position + 2);
        if (length < SectionHeadSize) {
            return false;  // a broken chain: nothing after it can be found
        }
        int64_t end = position + length;
        if (end > HelpBufferSize) {
            end = HelpBufferSize;
        }
        if (sectionId == id || sectionId == HelpEndSection) {
            bodyStart = position + SectionHeadSize;
            bodyEnd = end;
            return true;
        }
        position = end;
    }
    return false;
}

}  // namespace

bool LoadHelpFile(const Westring& path) {
    UnloadHelpFile();
    StdFile file;
    if (file.Open(path, StdFile::ModeRead) != 0) {
        return false;
    }
    int64_t size = file.GetSize();
    if (file.LastError() != 0 || size <= 0 || size > 0x7FFFFFFF) {
        return false;
    }
    unsigned char* buffer = new unsigned char[static_cast<size_t>(size)];
    int64_t filled = 0;
    while (filled < size) {
        uint32_t got = 0;
        if (file.Read(buffer + filled, static_cast<uint32_t>(size - filled), &got) != 0 || got == 0) {
            delete[] buffer;
            return false;
        }
        filled += got;
    }
    HelpBuffer = buffer;
    HelpBufferSize = size;
    return true;
}

void UnloadHelpFile() {
    delete[] HelpBuffer;
    HelpBuffer = nullptr;
    HelpBufferSize = 0;
}

bool IsHelpLoaded() {
    return HelpBuffer != nullptr;
}

bool GetHelpSectionLines(int id, WestringStore& lines) {
    lines.FreeAll();
    if (HelpBuffer == nullptr) {
        return false;
    }
    int64_t position = 0;
    int64_t end = 0;
    if (!FindSection(id, position, end)) {
        return true;
    }
    while (position < end) {
        int64_t stop = position;
        while (stop < end && HelpBuffer[stop] != 0) {
            stop++;
        }
        // The last line may lack its terminator; it ends with the section.
        Estring line;
        line.Assign(reinterpret_cast<const char*>(HelpBuffer + position), static_cast<int>(stop - position));
        lines.Add(new Westring(line.Data(), HelpCodePage));
        position = stop + 1;
    }
    return true;
}
