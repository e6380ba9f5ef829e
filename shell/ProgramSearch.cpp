#include "shell/ProgramSearch.h"

#include "app/settings/Config.h"
#include "base/mask/MaskExpression.h"
#include "base/os/CWinHandle.h"
#include "base/os/Environment.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/Utf16String.h"
#include "platform/SystemTraits.h"
#include "platform/win32.h"

#include <cstdint>

const char32_t* const ProgramSearchExtensions[4] = {U".com", U".exe", U".cmd", U".bat"};

namespace {

// A program file without extension counts only when the system can run it
// (a native executable, or a script it may execute).
bool IsRunnableWithoutExtension(const Westring& path) {
    DWORD kind = 0;
    return GetBinaryTypeW(Utf16String(path).Data(), &kind) != FALSE;
}

Westring JoinPath(const Westring& directory, const Westring& name) {
    Westring path = directory;
    if (path.IsEmpty() || path[path.Length() - 1] != '\\') {
        path += Westring("\\");
    }
    return path + name;
}

// Tries the candidates of one directory; true with `found` set on a hit.
bool TryDirectory(const Westring& directory, const Westring& name, bool hasPoint, Westring& found) {
    Westring base = JoinPath(directory, name);
    Westring candidate;
    if (hasPoint) {
        if (ProgramFileExists(base)) {
            candidate = base;
        }
    } else if (ProgramFileExists(base) && IsRunnableWithoutExtension(base)) {
        candidate = base;
    } else {
        for (const char32_t* extension : ProgramSearchExtensions) {
            Westring withExtension = base + Westring(extension);
            if (ProgramFileExists(withExtension)) {
                candidate = withExtension;
                break;
            }
        }
    }
    if (candidate.IsEmpty() || NormalizePath(candidate) != 0) {
        return false;
    }
    found = candidate;
    return true;
}

bool ReadAt(HANDLE file, uint32_t offset, unsigned char* buffer, DWORD size) {
    if (SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        return false;
    }
    DWORD got = 0;
    return ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

}  // namespace

int FindProgramOnPath(const Westring& name, Westring& found, const Westring* extraList) {
    Westring list;
    Westring program = name;
    int lastSeparator = name.FindLast('\\');
    if (lastSeparator < 0) {
        lastSeparator = name.FindLast(':');
    }
    if (lastSeparator < 0) {
        if (extraList != nullptr) {
            list = *extraList + Westring(";");
        }
        if (const Estring* path = TopEnvironment().Get(Estring("PATH"))) {
            Westring wide;
            wide.AssignUtf8(path->Data());
            list += wide;
        }
        if (list.IsEmpty() || list[list.Length() - 1] != ';') {
            list += Westring(";");
        }
        list = Westring(".;") + list + Config.PathAppend;
    }
    bool hasPoint = name.Find('.') >= 0;
    if (lastSeparator >= 0) {
        // A directory part is the one directory searched, whatever it holds.
        Westring directory = name.Left(lastSeparator + 1);
        program = name.Mid(lastSeparator + 1, name.Length());
        if (program.IsEmpty() || NormalizePath(directory) != 0) {
            return 0;
        }
        return TryDirectory(directory, program, hasPoint, found) ? 1 : 0;
    }
    int start = 0;
    while (start < list.Length()) {
        if (list[start] == ';') {
            start++;
            continue;
        }
        int end = list.FindFrom(Westring(";"), start);
        if (end < 0) {
            end = list.Length();
        }
        if (TryDirectory(list.Mid(start, end - start), program, hasPoint, found)) {
            return 1;
        }
        start = end;
    }
    return 0;
}

bool ProgramFileExists(const Westring& path) {
    DWORD attributes = GetFileAttributesW(Utf16String(path).Data());
    // A directory cannot be started; it must not hide a program of the same
    // name further along the path.
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int GetProgramKindByExtension(const Westring& path) {
    Westring name = path.Mid(path.FindLast('\\') + 1, path.Length());
    struct {
        const char32_t* mask;
        int kind;
    } static const byExtension[] = {
        {U"*.cmd", ProgramKindBatch},
        {U"*.bat", ProgramKindBatch},
        {U"*.inf", ProgramKindInf},
        {U"*.com", ProgramKindDos},
    };
    for (const auto& item : byExtension) {
        if (MatchMaskName(Westring(item.mask), name)) {
            return item.kind;
        }
    }
    if ((ProgramsKnownByContent || name.Find('.') < 0) && IsRunnableWithoutExtension(path)) {
        return ProgramKindConsole;
    }
    if (!MatchMaskName(Westring(U"*.exe"), name)) {
        return ProgramKindNotProgram;
    }
    return GetExecutableKind(path);
}

int GetExecutableKind(const Westring& path) {
    HANDLE opened = CreateFileW(Utf16String(path).Data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return ProgramKindNotProgram;
    }
    CWinHandle file(opened);
    unsigned char head[264];
    if (!ReadAt(file.Get(), 0, head, 64) || head[0] != 'M' || head[1] != 'Z') {
        return ProgramKindNotProgram;
    }
    uint32_t newHeader = head[60] | (head[61] << 8) | (head[62] << 16) | (static_cast<uint32_t>(head[63]) << 24);
    if (!ReadAt(file.Get(), newHeader, head, 64)) {
        return ProgramKindDos;
    }
    if (head[0] == 'N' && head[1] == 'E') {
        return head[54] == 2 ? ProgramKindWin16 : head[54] == 1 ? ProgramKindExtendedDos : ProgramKindDos;
    }
    if ((head[0] == 'L' && head[1] == 'E') || (head[0] == 'L' && head[1] == 'X')) {
        return ProgramKindExtendedDos;
    }
    if (head[0] == 'P' && head[1] == 'E') {
        if (!ReadAt(file.Get(), newHeader, head, 264)) {
            return ProgramKindDos;
        }
        return (head[92] | (head[93] << 8)) == 2 ? ProgramKindWindowed : ProgramKindConsole;
    }
    return ProgramKindDos;
}
