// What the archive reader tests share: a folder in which Debian's archivers
// make archives of a small tree, byte builders for the formats no Debian
// program writes, and the table of an opened archive as text rows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/panels/PanelArchive.h"
#include "tests/support/TempDir.h"

namespace qvtest {

// Little-endian fields for the byte fixtures.
std::string Le16(unsigned v);
std::string Le32(uint32_t v);
std::string Le64(uint64_t v);

// The seconds of 2021-03-04 05:06:08 UTC, the time of every file of the tree.
const uint32_t TreeSeconds = 1614834368;
// The same as an MS-DOS date and time (the tests run with TZ=UTC).
const unsigned TreeDosDate = (2021 - 1980) << 9 | 3 << 5 | 4;
const unsigned TreeDosTime = 5 << 11 | 6 << 5 | 8 / 2;

// A local folder of the test's own, removed afterwards, in which shell
// commands run. Usable only where the Debian tools are (not under wine).
class ToolFolder {
public:
    ToolFolder();
    ~ToolFolder();
    ToolFolder(const ToolFolder&) = delete;
    ToolFolder& operator=(const ToolFolder&) = delete;

    // True when this system has the program (and runs shell commands).
    static bool Has(const std::string& program);
    // Runs the command in the folder (TZ=UTC); true when it succeeded.
    bool Run(const std::string& command) const;
    // a/x, "a b/y" and a.txt with known contents and times.
    void MakeTree() const;
    void Write(const std::string& name, const std::string& bytes) const;
    // The path the system uses for a file of the folder.
    Westring PathOf(const std::string& name) const;
    const std::string& Local() const { return local; }

private:
    std::string local;
};

// Skips the test when a Debian archiver it drives is not there.
#define QV_NEED_TOOL(program) \
    do { \
        if (!qvtest::ToolFolder::Has(program)) \
            GTEST_SKIP() << "needs Debian's " << (program) << " (a Linux program; absent here)"; \
    } while (0)

// A ZIP without member data (all the reader looks at): central directory
// records and the end record after them.
struct ZipBuilder {
    std::string central;
    int count = 0;

    void Add(const std::string& name, uint32_t packed, uint32_t unpacked, const std::string& extra = "");
    // A local-header mark, the central directory, the end record; the
    // directory offset as it is unless told otherwise.
    std::string Bytes(uint32_t directoryOffset = 0xFFFFFFFE, const std::string& comment = "") const;
    std::string EndRecord(uint32_t offset, const std::string& comment = "") const;
};

// A panel entry of that name (UTF-8), a file or a directory; free it with
// entry::Free.
entry* MakeTestEntry(const std::string& name, bool directory);

// One member as a row: "directory|name|unpacked|packed|seconds|attributes|dotted|link".
std::string EntryRow(const TArchiveEntry* item);
std::vector<std::string> EntryRows(CArchive* archive);

// Messages the readers reported, instead of message boxes.
struct ArchiveMessages {
    ArchiveMessages();
    ~ArchiveMessages();
    std::vector<std::string> texts;  // "message|path"
};

// Opens a file as an archive with every reader installed.
CArchive* OpenTestArchive(const Westring& path);

// A file of bytes in a temporary folder, opened as an archive.
class ByteArchive {
public:
    explicit ByteArchive(const std::string& bytes, const std::string& name = "t.bin");
    ~ByteArchive();
    ByteArchive(const ByteArchive&) = delete;
    ByteArchive& operator=(const ByteArchive&) = delete;

    TempDir folder;
    Westring path;
    CArchive* archive;
};

}  // namespace qvtest
