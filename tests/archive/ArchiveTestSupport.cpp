#include "tests/archive/ArchiveTestSupport.h"

#include <cstdio>
#include <cstdlib>

#include "app/panels/Panel.h"
#include "archive/ArchiveReaders.h"
#include "tests/platform/RunningUnderWine.h"

namespace qvtest {

std::string Le16(unsigned v) {
    return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)};
}

std::string Le32(uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

std::string Le64(uint64_t v) {
    return Le32(uint32_t(v)) + Le32(uint32_t(v >> 32));
}

namespace {

int FolderCounter = 0;

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string>* CapturedMessages = nullptr;

unsigned CaptureMessage(const Westring& message, const Westring& path, uint32_t) {
    Estring a;
    Estring b;
    message.ToUtf8(a);
    path.ToUtf8(b);
    if (CapturedMessages)
        CapturedMessages->push_back(std::string(a.Data()) + "|" + b.Data());
    return 'y';
}

std::string Utf8(const char32_t* text) {
    if (!text)
        return "-";
    Estring out;
    Westring(text).ToUtf8(out);
    return out.Data();
}

}  // namespace

ToolFolder::ToolFolder() {
    const char* tmp = std::getenv("TMPDIR");
    local = std::string(tmp && *tmp ? tmp : "/tmp") + "/qv-archive-test-" +
            std::to_string(long(GetCurrentProcessId())) + "-" + std::to_string(++FolderCounter);
    Run("true");
}

ToolFolder::~ToolFolder() {
    std::system(("rm -rf " + Quote(local)).c_str());
}

bool ToolFolder::Has(const std::string& program) {
    if (RunningUnderWine())
        return false;
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

bool ToolFolder::Run(const std::string& command) const {
    std::string line = "mkdir -p " + Quote(local) + " && cd " + Quote(local) + " && TZ=UTC; export TZ; (" + command +
                       ") >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

void ToolFolder::Write(const std::string& name, const std::string& bytes) const {
    Run("mkdir -p \"$(dirname " + Quote(name) + ")\"");
    FILE* out = std::fopen((local + "/" + name).c_str(), "wb");
    ASSERT_NE(nullptr, out);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

void ToolFolder::MakeTree() const {
    Write("a/x", "xx");
    Write("a b/y", "yyy");
    Write("a.txt", "text of a\n");
    ASSERT_TRUE(Run("touch -d '2021-03-04 05:06:08' a/x 'a b/y' a.txt a 'a b'"));
}

Westring ToolFolder::PathOf(const std::string& name) const {
    // The tests map C: to the root of the file system.
    std::string path = "C:" + local + "/" + name;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return Westring(path.c_str());
}

void ZipBuilder::Add(const std::string& name, uint32_t packed, uint32_t unpacked, const std::string& extra) {
    central += "PK\x01\x02" + std::string(8, '\0') + Le16(TreeDosTime) + Le16(TreeDosDate) + Le32(0) + Le32(packed) +
               Le32(unpacked) + Le16(unsigned(name.size())) + Le16(unsigned(extra.size())) + Le16(0) +
               std::string(12, '\0') + name + extra;
    count++;
}

std::string ZipBuilder::Bytes(uint32_t directoryOffset, const std::string& comment) const {
    std::string head = "PK\x03\x04" + std::string(26, '\0');
    uint32_t offset = directoryOffset == 0xFFFFFFFE ? uint32_t(head.size()) : directoryOffset;
    return head + central + EndRecord(offset, comment);
}

std::string ZipBuilder::EndRecord(uint32_t offset, const std::string& comment) const {
    return "PK\x05\x06" + std::string(4, '\0') + Le16(unsigned(count)) + Le16(unsigned(count)) +
           Le32(uint32_t(central.size())) + Le32(offset) + Le16(unsigned(comment.size())) + comment;
}

entry* MakeTestEntry(const std::string& name, bool directory) {
    Westring wide;
    wide.AssignUtf8(name.c_str());
    entry* item = entry::Allocate(wide.Length());
    for (int i = 0; i <= wide.Length(); i++)
        item->name[i] = wide[i];
    item->attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    item->sortClass = directory ? SORTCLASS_DIRECTORY : SORTCLASS_FILE;
    return item;
}

std::string EntryRow(const TArchiveEntry* item) {
    return Utf8(item->directory) + "|" + Utf8(item->name) + "|" + std::to_string(item->unpackedSize) + "|" +
           std::to_string(item->packedSize) + "|" + std::to_string(item->time.seconds) + "|" +
           std::to_string(item->attributes) + "|" + std::to_string(item->dotted) + "|" + Utf8(item->linkTarget);
}

std::vector<std::string> EntryRows(CArchive* archive) {
    std::vector<std::string> rows;
    for (int i = 0; i < archive->entries.Count(); i++)
        rows.push_back(EntryRow(archive->entries.At(i)));
    return rows;
}

ArchiveMessages::ArchiveMessages() {
    CapturedMessages = &texts;
    ArchiveErrorReporter = CaptureMessage;
}

ArchiveMessages::~ArchiveMessages() {
    CapturedMessages = nullptr;
}

CArchive* OpenTestArchive(const Westring& path) {
    InstallArchiveReaders();
    // No message box in a test: what is reported is captured or dropped.
    ArchiveErrorReporter = CaptureMessage;
    return new CArchive(path, nullptr);
}

ByteArchive::ByteArchive(const std::string& bytes, const std::string& name) {
    WString file = folder.Join(W(name));
    EXPECT_TRUE(WriteFileBytes(file, bytes));
    path = Westring(file.c_str());
    archive = OpenTestArchive(path);
}

ByteArchive::~ByteArchive() {
    delete archive;
}

}  // namespace qvtest
