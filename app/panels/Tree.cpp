#include "app/panels/Tree.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"
#include "app/settings/ReplacingFile.h"
#include "base/io/StdFile.h"
#include "base/os/SystemError.h"
#include "base/strings/Utf16String.h"
#include "platform/SystemTraits.h"
#include "platform/win32.h"
#include "ui/MessageBox.h"

namespace {

const char32_t NetworkRoot[] = U"\\\\";

bool IsNetworkName(const Westring& name) {
    return name.Length() >= 2 && name[0] == '\\' && name[1] == '\\';
}

// The path whose tree data file belongs to a tree: "X:", or "\\" for the
// network tree.
Westring TreeFilePath(char letter) {
    if (letter == '\\')
        return Westring(NetworkRoot);
    Westring path;
    path.AppendChar(char32_t(uint8_t(letter)));
    path += ':';
    return path;
}

// Length of the next part of a path being looked up from `node` (see
// FindNodeFrom), set on `skip` together with the separator after it.
int NextPartLength(const TREENODE* node, const char32_t* rest, int restLength) {
    int nameLength = node->name.Length();
    if (nameLength > 0 && nameLength <= restLength && Str32CompareNoCaseN(rest, node->name.Data(), nameLength) == 0 &&
        (rest[nameLength] == '\\' || rest[nameLength] == 0))
        return nameLength;  // a root name may hold backslashes itself
    if (restLength >= 2 && rest[0] == '\\' && rest[1] == '\\')
        return 2;
    int length = 0;
    while (length < restLength && rest[length] != '\\')
        length++;
    return length;
}

// The first node along the sibling chain from `start` named like the part:
// an exact match first, then, when allowed, one that differs in case.
TREENODE* FindSibling(TREENODE* start, const char32_t* part, int length, bool ignoreCase) {
    for (TREENODE* node = start; node; node = node->nextSibling)
        if (node->name.Length() == length && Str32CompareN(node->name.Data(), part, length) == 0)
            return node;
    if (!ignoreCase)
        return nullptr;
    for (TREENODE* node = start; node; node = node->nextSibling)
        if (node->name.Length() == length && Str32CompareNoCaseN(node->name.Data(), part, length) == 0)
            return node;
    return nullptr;
}

// Follows a path down from a sibling chain: each part is looked up along the
// chain of the current level, and the next part among the children of the
// node found.
TREENODE* FindNodeFrom(TREENODE* start, const Westring& path, bool ignoreCase) {
    const char32_t* rest = path.Data();
    int restLength = path.Length();
    TREENODE* current = start;
    while (current) {
        int length = NextPartLength(current, rest, restLength);
        TREENODE* found = FindSibling(current, rest, length, ignoreCase);
        if (!found)
            return nullptr;
        rest += length;
        restLength -= length;
        if (restLength > 0 && rest[0] == '\\') {
            rest++;
            restLength--;
        }
        if (restLength == 0)
            return found;
        current = found->firstChild;
    }
    return nullptr;
}

int CompareNodeNames(const void* a, const void* b) {
    const TREENODE* x = *static_cast<TREENODE* const*>(a);
    const TREENODE* y = *static_cast<TREENODE* const*>(b);
    return Str32Compare(x->name.Data(), y->name.Data());
}

// Orders one child list, then the lists below it.
void SortChildren(TREENODE* parent, std::vector<TREENODE*>& scratch) {
    scratch.clear();
    for (TREENODE* child = parent->firstChild; child; child = child->nextSibling)
        scratch.push_back(child);
    if (scratch.size() > 1) {
        qsort(scratch.data(), scratch.size(), sizeof(TREENODE*), CompareNodeNames);
        for (size_t i = 0; i + 1 < scratch.size(); i++)
            scratch[i]->nextSibling = scratch[i + 1];
        scratch.back()->nextSibling = nullptr;
        parent->firstChild = scratch.front();
    }
    for (TREENODE* child = parent->firstChild; child; child = child->nextSibling)
        SortChildren(child, scratch);
}

bool HoldsLineBreak(const Westring& name) {
    return name.Find(U'\n') >= 0 || name.Find(U'\r') >= 0;
}

// One record's name: its bytes up to the LF, a CR before the LF dropped.
Westring RecordName(const unsigned char* bytes, size_t length) {
    if (length > 0 && bytes[length - 1] == '\r')
        length--;
    std::string text(reinterpret_cast<const char*>(bytes), length);
    Westring name;
    name.AssignUtf8(text.c_str());
    return name;
}

// The next record of a tree data file: its depth and name; false at the end
// or at a record that cannot be read (no LF, or a depth byte out of range).
bool NextRecord(const unsigned char* bytes, size_t count, size_t& at, uint32_t& depth, Westring& name) {
    if (at >= count)
        return false;
    unsigned char depthByte = bytes[at];
    if (depthByte < '0' || depthByte > '0' + CTree::MaxFileDepth)
        return false;
    const void* end = memchr(bytes + at + 1, '\n', count - at - 1);
    if (!end)
        return false;
    size_t nameEnd = size_t(static_cast<const unsigned char*>(end) - bytes);
    depth = uint32_t(depthByte - '0');
    name = RecordName(bytes + at + 1, nameEnd - at - 1);
    at = nameEnd + 1;
    return true;
}

}  // namespace

CTree::CTree() : root(nullptr), loaded(0), changed(0), isPrivate(1), saveErrorShown(false) {
    key.driveLetter = 0;
    key.volumeSerial = 0;
}

CTree::~CTree() {
    DeleteRoot();
}

void CTree::DeleteRoot() {
    TREENODE* node = root;
    root = nullptr;
    while (node) {
        TREENODE* next = node->nextSibling;
        delete node;
        node = next;
    }
}

void CTree::MakeBareRoot() {
    DeleteRoot();
    root = new TREENODE;
    root->expanded = 1;
    if (key.driveLetter == '\\') {
        root->name = NetworkRoot;
    } else {
        root->name = U"@:";
        root->name.SetAt(0, char32_t(uint8_t(key.driveLetter)));
    }
}

Westring TreeDataFileName(const Westring& path) {
    bool network = path.Length() >= 1 && path[0] == '\\';
    bool drive = path.Length() >= 2 && path[1] == ':';
    Westring folder = Config.TreeDir;
    // Where drives are mapped folders, a drive's root is the user's folder (or
    // the whole system): the files go to the user's data folder instead.
    if (folder.IsEmpty() && DrivesAreMappedFolders)
        folder = ExtractDirectory(DataFilePath(DataFileHistory, DataFileUserFolder));
    if (!folder.IsEmpty()) {
        Westring name = AddTrailingBackslash(folder) + Westring("qv2tree");
        if (network)
            name += Westring("UNC");
        else if (drive)
            name.AppendChar(path[0]);
        else
            return Westring();
        return name + Westring(".dat");
    }
    if (!drive || network)
        return Westring();
    return path.Left(2) + Westring("\\qv2tree.dat");
}

void CTree::Load() {
    Westring fileName = TreeDataFileName(TreeFilePath(key.driveLetter));
    std::vector<unsigned char> bytes;
    if (!fileName.IsEmpty()) {
        StdFile file;
        if (file.Open(fileName, StdFile::ModeRead, StdFile::ShareRead) == 0) {
            unsigned char chunk[65536];
            for (;;) {
                uint32_t got = 0;
                if (file.Read(chunk, sizeof(chunk), &got) != 0 || got == 0)
                    break;
                bytes.insert(bytes.end(), chunk, chunk + got);
            }
        }
    }
    LoadBytes(bytes.data(), bytes.size());
}

void CTree::LoadBytes(const unsigned char* bytes, size_t count) {
    uint32_t serial = 0;
    if (count >= 4)
        serial = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    if (count >= 4 && serial == key.volumeSerial) {
        DeleteRoot();
        size_t at = 4;
        uint32_t depth = 0;
        Westring name;
        if (NextRecord(bytes, count, at, depth, name)) {
            root = new TREENODE;
            root->name = name;
            if (root->name.IsEmpty())
                root->name.AppendChar(0);
            root->name.SetAt(0, key.driveLetter == '\\' ? char32_t('\\') : char32_t(uint8_t(key.driveLetter)));
            root->expanded = 1;
            loaded = 1;
            TREENODE* previous = root;
            while (NextRecord(bytes, count, at, depth, name)) {
                TREENODE* node = new TREENODE;
                node->name = name;
                node->depth = depth;
                node->expanded = Config.ExpandedTrees || depth == 0 ? 1 : 0;
                if (depth > previous->depth) {
                    // A child, whatever the step in depth.
                    node->parent = previous;
                    node->nextSibling = previous->firstChild;
                    previous->firstChild = node;
                } else {
                    // Up to the level of the record, never above a root.
                    TREENODE* at_level = previous;
                    while (depth < at_level->depth && at_level->parent)
                        at_level = at_level->parent;
                    node->parent = at_level->parent;
                    node->nextSibling = at_level->nextSibling;
                    at_level->nextSibling = node;
                }
                previous = node;
            }
        }
    }
    if (!root)
        MakeBareRoot();
}

void CTree::SortAll() {
    std::vector<TREENODE*> scratch;
    for (TREENODE* node = root; node; node = node->nextSibling)
        SortChildren(node, scratch);
}

int CTree::Save() {
    SortAll();
    if (!root || !loaded || isPrivate)
        return 1;
    Westring fileName = TreeDataFileName(TreeFilePath(key.driveLetter));
    if (fileName.IsEmpty())
        return 1;
    CReplacingFile file(fileName, fileName + Westring("!!!"));
    DWORD error = file.Open();
    if (error == 0) {
        unsigned char header[4] = {uint8_t(key.volumeSerial), uint8_t(key.volumeSerial >> 8),
                                   uint8_t(key.volumeSerial >> 16), uint8_t(key.volumeSerial >> 24)};
        file.Write(header, 4);
        Estring record;
        Estring utf8;
        TREENODE* node = root;
        while (node) {
            // A name with a line break would split its record, and a node
            // deeper than the file can hold would end the reading early: both
            // are left out with everything below them.
            bool written = node->depth <= MaxFileDepth && !HoldsLineBreak(node->name);
            if (written) {
                record = "";
                record += char('0' + node->depth);
                node->name.ToUtf8(utf8);
                record += utf8.Data();
                record += '\n';
                file.Write(record.Data(), uint32_t(record.Length()));
            }
            if (written && node->firstChild) {
                node = node->firstChild;
                continue;
            }
            while (node && !node->nextSibling)
                node = node->parent;
            if (node)
                node = node->nextSibling;
        }
        error = file.Commit();
    }
    if (error) {
        if (!saveErrorShown) {
            saveErrorShown = true;
            ShowMessageBox(Westring("Error writing tree data file:") + FormatSystemError(error), fileName, 0);
        }
        return 0;
    }
    Utf16String wide(fileName);
    DWORD attributes = GetFileAttributesW(wide.Data());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(wide.Data(), attributes | FILE_ATTRIBUTE_HIDDEN);
    loaded = 1;
    changed = 0;
    return 1;
}

TREENODE* CTree::FindNode(const Westring& path, bool ignoreCase) {
    return FindNodeFrom(root, path, ignoreCase);
}

bool CTree::FindDirectoryByName(const Westring& name, Westring& path, bool ignoreCase) {
    return FindDirectoryByNameFrom(root, name, path, ignoreCase);
}

bool CTree::FindDirectoryByNameFrom(TREENODE* node, const Westring& name, Westring& path, bool ignoreCase) {
    if (!node || name.IsEmpty())
        return false;
    // A look-up from the first child covers every child of the level (a
    // look-up from a later child could only find less).
    if (TREENODE* hit = FindNodeFrom(node->firstChild, name, ignoreCase)) {
        path = NodePath(hit);
        return true;
    }
    for (TREENODE* child = node->firstChild; child; child = child->nextSibling)
        if (FindDirectoryByNameFrom(child, name, path, ignoreCase))
            return true;
    return false;
}

Westring CTree::NodePath(const TREENODE* node) {
    std::vector<const TREENODE*> chain;
    for (const TREENODE* at = node; at; at = at->parent)
        chain.push_back(at);
    Westring path;
    for (size_t i = chain.size(); i-- > 0;) {
        const Westring& name = chain[i]->name;
        if (name.Length() == 1 && name[0] == '\\')
            continue;
        path += name;
        if (i > 0 && !IsNetworkName(name))
            path += '\\';
    }
    if (path.Length() == 2 && path[1] == ':')
        path += '\\';
    return path;
}
