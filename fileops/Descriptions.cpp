#include "fileops/Descriptions.h"

#include <vector>

#include "app/settings/ReplacingFile.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"

namespace {

const char DescriptionFileName[] = "descript.ion";
const uint32_t HiddenAttribute = 2;

struct TSplitPath {
    Westring directory;  // with its backslash; empty for the current directory
    Westring name;
};

TSplitPath SplitPath(const Westring& path) {
    int slash = path.FindLast('\\');
    if (slash < 0) {
        return {Westring(), path};
    }
    return {path.Left(slash + 1), path.Mid(slash + 1, 0)};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads the whole file from its start; false when a read failed.
bool ReadWhole(StdFile& file, std::string& contents) {
    contents.clear();
    if (file.Rewind() != 0) {
        return false;
    }
    char buffer[8192];
    for (;;) {
        uint32_t got = 0;
        uint32_t error = file.Read(buffer, sizeof buffer, &got);
        contents.append(buffer, got);
        if (error == StdFile::EndOfFile) {
            return true;
        }
        if (error != 0) {
            return false;
        }
    }
}

bool ReadDescriptionFile(const Westring& directory, std::string& contents, bool& present) {
    StdFile file;
    DWORD error = file.Open(directory + Westring(DescriptionFileName), StdFile::ModeRead, StdFile::ShareReadWrite);
    present = error == 0;
    if (error != 0) {
        contents.clear();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    return ReadWhole(file, contents);
}

// One line of the file: where it starts, how long it is with its LF, and the
// length of its text without CR LF.
struct TLine {
    size_t start;
    size_t length;
    size_t textLength;
};

std::vector<TLine> SplitLines(const std::string& contents) {
    std::vector<TLine> lines;
    size_t start = 0;
    while (start < contents.size()) {
        size_t lf = contents.find('\n', start);
        size_t end = lf == std::string::npos ? contents.size() : lf + 1;
        size_t text = (lf == std::string::npos ? contents.size() : lf) - start;
        if (text > 0 && contents[start + text - 1] == '\r' && lf != std::string::npos) {
            text--;
        }
        lines.push_back({start, end - start, text});
        start = end;
    }
    return lines;
}

// The index of the line for `name`: exact first, else one that matches
// without regard to case and names no file of its own; -1 when none.
int FindLine(const std::string& contents, const std::vector<TLine>& lines, const Westring& name,
             bool (*exists)(const Westring&, void*), void* context, size_t* afterName = nullptr) {
    int loose = -1;
    size_t looseAfter = 0;
    for (size_t i = 0; i < lines.size(); i++) {
        Westring lineName;
        size_t after = ParseDescriptionLine(contents.data() + lines[i].start, lines[i].textLength, lineName);
        if (lineName.IsEmpty()) {
            continue;
        }
        if (lineName.EqualsExact(name)) {
            if (afterName != nullptr) {
                *afterName = after;
            }
            return static_cast<int>(i);
        }
        if (loose < 0 && lineName.EqualsNoCase(name) && (exists == nullptr || !exists(lineName, context))) {
            loose = static_cast<int>(i);
            looseAfter = after;
        }
    }
    if (loose >= 0 && afterName != nullptr) {
        *afterName = looseAfter;
    }
    return loose;
}

bool ExistsInDirectory(const Westring& name, void* context) {
    const Westring* directory = static_cast<const Westring*>(context);
    return FileExists(*directory + name);
}

bool NeedsQuotes(const Westring& name) {
    if (name.Length() > 0 && name[0] == '-') {
        return true;
    }
    for (int i = 0; i < name.Length(); i++) {
        char32_t c = name[i];
        if (c == ' ' || c == '%' || c == '&' || c == '+' || c == ',') {
            return true;
        }
    }
    return false;
}

bool OnlyLineEnds(const std::string& contents) {
    for (char c : contents) {
        if (c != '\r' && c != '\n') {
            return false;
        }
    }
    return true;
}

// Puts the new contents in place of the description file: deleted when no
// line is left, else written beside it and renamed over it, hidden. A handle
// of the caller on the old file (`other`) is closed first, and opened again
// on the new file for reading, so that later look-ups through it still work.
// True when the file was deleted.
std::vector<StdFile*>& HeldFiles() {
    static std::vector<StdFile*> held;
    return held;
}

bool ReplaceDescriptionFile(const Westring& directory, const std::string& contents, StdFile* other) {
    Westring path = directory + Westring(DescriptionFileName);
    std::vector<StdFile*> reopen;
    if (other != nullptr && other->IsOpen()) {
        other->Close();
        reopen.push_back(other);
    }
    for (StdFile* held : HeldFiles()) {
        if (held->IsOpen() && held->Path().EqualsExact(path)) {
            held->Close();
            reopen.push_back(held);
        }
    }
    if (OnlyLineEnds(contents)) {
        return DeleteFileOrLink(path) == 0;
    }
    CReplacingFile file(path, directory + Westring(".descript.ion.qvtmp"));
    if (file.Open() == 0) {
        file.Write(contents.data(), static_cast<uint32_t>(contents.size()));
        file.Commit();
    }
    WriteFileAttributes(path, HiddenAttribute);
    for (StdFile* file : reopen) {
        file->Open(path, StdFile::ModeRead, StdFile::ShareReadWrite);
    }
    return false;
}

}  // namespace

CHeldDescriptionFile::CHeldDescriptionFile(StdFile& file) : file(file) {
    HeldFiles().push_back(&file);
}

CHeldDescriptionFile::~CHeldDescriptionFile() {
    std::vector<StdFile*>& held = HeldFiles();
    for (size_t i = held.size(); i-- > 0;) {
        if (held[i] == &file) {
            held.erase(held.begin() + static_cast<long>(i));
            break;
        }
    }
}

DWORD OpenDescriptionFile(const Westring& path, Westring* name, StdFile& file, bool write, bool append) {
    TSplitPath split = SplitPath(path);
    if (name != nullptr) {
        *name = split.name;
    }
    Westring target = split.directory + Westring(DescriptionFileName);
    int mode = StdFile::ModeRead;
    int share = StdFile::ShareReadWrite;
    if (append) {
        mode = StdFile::ModeRead | StdFile::ModeWrite | StdFile::ModeCreate | StdFile::ModeKeep;
        share = StdFile::ShareRead;
    } else if (write) {
        mode = StdFile::ModeRead | StdFile::ModeWrite | StdFile::ModeKeep;
        share = StdFile::ShareRead;
    }
    // Another program may hold the file for a moment: a sharing violation is
    // tried again for about five seconds. A denied access is a permission
    // and does not go away by waiting.
    DWORD error = 0;
    for (int attempt = 0; attempt < 100; attempt++) {
        error = file.Open(target, mode, share);
        if (error != ERROR_SHARING_VIOLATION) {
            break;
        }
        Sleep(50);
    }
    return error;
}

size_t ParseDescriptionLine(const char* line, size_t length, Westring& name) {
    size_t start = 0;
    while (start < length && IsBlank(line[start])) {
        start++;
    }
    size_t nameStart = start;
    size_t nameEnd = length;
    size_t after = length;
    if (start < length && line[start] == '"') {
        for (size_t i = start + 1; i < length; i++) {
            if (line[i] == '"') {
                nameStart = start + 1;
                nameEnd = i;
                after = i + 1;
                break;
            }
        }
    }
    if (after == length && nameEnd == length) {
        for (size_t i = start; i < length; i++) {
            if (line[i] == ' ') {
                nameEnd = i;
                after = i;
                break;
            }
        }
    }
    // A NUL inside the bytes ends the name, as it would end a C string.
    std::string bytes(line + nameStart, nameEnd - nameStart);
    name.AssignUtf8(bytes.c_str());
    if (name.Length() > DescriptionNameUnits) {
        name = name.Left(DescriptionNameUnits);
    }
    return after;
}

std::string FormatDescriptionLine(const Westring& name, const Westring& text) {
    Estring nameUtf8;
    name.ToUtf8(nameUtf8);
    Estring textUtf8;
    text.ToUtf8(textUtf8);
    std::string line;
    if (NeedsQuotes(name)) {
        line = std::string("\"") + nameUtf8.Data() + "\"";
    } else {
        line = nameUtf8.Data();
    }
    line += " ";
    line += textUtf8.Data();
    line += "\r\n";
    return line;
}

std::string DropDescriptionLine(const std::string& contents, const Westring& name, bool& found,
                                bool (*exists)(const Westring&, void*), void* context) {
    std::vector<TLine> lines = SplitLines(contents);
    int index = FindLine(contents, lines, name, exists, context);
    found = index >= 0;
    if (!found) {
        return contents;
    }
    std::string rest = contents.substr(0, lines[index].start);
    rest.append(contents, lines[index].start + lines[index].length, std::string::npos);
    return rest;
}

void CopyDescription(const Westring& source, const Westring& destination, StdFile& sourceFile) {
    if (!sourceFile.IsOpen()) {
        return;
    }
    std::string contents;
    if (!ReadWhole(sourceFile, contents)) {
        return;
    }
    TSplitPath from = SplitPath(source);
    std::vector<TLine> lines = SplitLines(contents);
    size_t after = 0;
    int index = FindLine(contents, lines, from.name, &ExistsInDirectory, &from.directory, &after);
    if (index < 0) {
        return;
    }
    size_t end = lines[index].textLength;
    const char* text = contents.data() + lines[index].start;
    while (after < end && text[after] == ' ') {
        after++;
    }
    std::string bytes(text + after, end - after);
    AppendDescription(destination, Westring(bytes.c_str()));
}

void MoveDescription(const Westring& source, const Westring& destination, StdFile& sourceFile) {
    TSplitPath from = SplitPath(source);
    TSplitPath to = SplitPath(destination);
    if (!from.directory.EqualsExact(to.directory)) {
        CopyDescription(source, destination, sourceFile);
        RemoveDescription(source, &sourceFile);
        return;
    }
    // One directory: the line takes the new name where it stands.
    std::string contents;
    bool present = false;
    if (!ReadDescriptionFile(from.directory, contents, present) || !present) {
        return;
    }
    std::vector<TLine> lines = SplitLines(contents);
    size_t after = 0;
    int index = FindLine(contents, lines, from.name, &ExistsInDirectory, &from.directory, &after);
    if (index < 0) {
        return;
    }
    const char* text = contents.data() + lines[index].start;
    size_t end = lines[index].textLength;
    while (after < end && text[after] == ' ') {
        after++;
    }
    std::string line = FormatDescriptionLine(to.name, Westring(std::string(text + after, end - after).c_str()));
    std::string rest = contents.substr(0, lines[index].start) + line;
    rest.append(contents, lines[index].start + lines[index].length, std::string::npos);
    // A file the move replaced leaves its own line behind: only an exact
    // match is that file's, the renamed line stands before it or after it.
    std::vector<TLine> renamed = SplitLines(rest);
    for (size_t i = 0; i < renamed.size(); i++) {
        if (i == static_cast<size_t>(index)) {
            continue;
        }
        Westring lineName;
        ParseDescriptionLine(rest.data() + renamed[i].start, renamed[i].textLength, lineName);
        if (lineName.EqualsExact(to.name)) {
            rest.erase(renamed[i].start, renamed[i].length);
            break;
        }
    }
    ReplaceDescriptionFile(from.directory, rest, &sourceFile);
}

void AppendDescription(const Westring& path, const Westring& text) {
    TSplitPath split = SplitPath(path);
    std::string contents;
    bool present = false;
    if (!ReadDescriptionFile(split.directory, contents, present)) {
        return;
    }
    bool found = false;
    std::string rest = DropDescriptionLine(contents, split.name, found, &ExistsInDirectory, &split.directory);
    if (!rest.empty() && rest.back() != '\n') {
        rest += "\r\n";
    }
    rest += FormatDescriptionLine(split.name, text);
    ReplaceDescriptionFile(split.directory, rest, nullptr);
}

bool RemoveDescription(const Westring& path, StdFile* other) {
    TSplitPath split = SplitPath(path);
    std::string contents;
    bool present = false;
    if (!ReadDescriptionFile(split.directory, contents, present) || !present) {
        return false;
    }
    if (contents.empty()) {
        return ReplaceDescriptionFile(split.directory, contents, other);
    }
    bool found = false;
    std::string rest = DropDescriptionLine(contents, split.name, found, &ExistsInDirectory, &split.directory);
    if (!found) {
        return false;
    }
    return ReplaceDescriptionFile(split.directory, rest, other);
}
