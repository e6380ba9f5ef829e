#include "app/settings/DataFiles.h"

#include "app/settings/Config.h"
#include "base/os/FilePrimitives.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"

Westring ProgramPath;

const Westring& GetProgramPath() {
    if (ProgramPath.IsEmpty()) {
        WCHAR buffer[MAX_PATH + 1];
        DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            buffer[n] = 0;
            ProgramPath = Westring(buffer);
        }
    }
    return ProgramPath;
}

namespace {

struct TDataFileKind {
    bool besideProgram;
    const char* suffix;
};

const TDataFileKind DataFileKinds[] = {
    {true, "qvh"}, {true, "chm"}, {false, "mnu"}, {false, "ini"}, {false, "hst"}, {false, "log"}, {false, "syntax.ini"},
};
const int DataFileKindCount = sizeof(DataFileKinds) / sizeof(DataFileKinds[0]);

// The file name up to and including its last dot; a name without a dot after
// its first character gets one.
Westring BaseName(const Westring& path) {
    Westring name = ExtractFileName(path);
    int dot = name.FindLast('.');
    if (dot <= 0) {
        name += '.';
        return name;
    }
    return name.Left(dot + 1);
}

Westring Variable(const char* name) {
    Utf16String wide{Westring(name)};
    WCHAR buffer[1024];
    DWORD n = GetEnvironmentVariableW(wide.Data(), buffer, 1024);
    if (n == 0 || n >= 1024) {
        return Westring();
    }
    buffer[n] = 0;
    return Westring(buffer);
}

}  // namespace

bool DataFileExists(const Westring& path) {
    Utf16String wide(path);
    DWORD attributes = GetFileAttributesW(wide.Data());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Westring DataFilePath(int kind, int location) {
    if (kind < 0 || kind >= DataFileKindCount) {
        return Westring();
    }
    const Westring& program = GetProgramPath();
    Westring programFolder = AddTrailingBackslash(ExtractDirectory(program));
    Westring base = BaseName(program);
    bool inProgramFolder = (location & 1) != 0;
    const TDataFileKind& row = DataFileKinds[kind];
    Westring dataFolder;
    if (!Config.IniFilePath.IsEmpty()) {
        // An ini file named on the command line names the user's own files;
        // the help files ship beside the program under the program's name, so
        // naming an ini file must not lose them.
        if (!row.besideProgram) {
            base = BaseName(Config.IniFilePath);
        }
        dataFolder = AddTrailingBackslash(ExtractDirectory(Config.IniFilePath));
    } else {
        Westring appData = Variable("APPDATA");
        if (appData.IsEmpty() || inProgramFolder) {
            dataFolder = programFolder;
        } else {
            dataFolder = AddTrailingBackslash(appData) + Westring("Quorvane");
            // The folder APPDATA names may be missing too (a fresh profile).
            MakeDirectory(RemoveTrailingBackslash(appData));
            MakeDirectory(dataFolder);
            dataFolder = AddTrailingBackslash(dataFolder);
        }
    }
    if (inProgramFolder) {
        dataFolder = programFolder;
    }
    if (kind == DataFileSyntax) {
        base = base.DropRight(1);
    }
    return (row.besideProgram ? programFolder : dataFolder) + base + Westring(row.suffix);
}
