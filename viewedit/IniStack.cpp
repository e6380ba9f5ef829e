#include "viewedit/IniStack.h"

uint32_t CIniStack::Push(const Westring& path) {
    StdFile* file = new StdFile;
    uint32_t error = file->Open(path, StdFile::ModeRead, StdFile::ShareWrite);
    if (error != 0) {
        delete file;
        return error;
    }
    Add(file);
    return 0;
}

bool CIniStack::Holds(const Westring& path) {
    for (int i = 0; i < Count(); i++) {
        if (At(i)->Path().EqualsExact(path))
            return true;
    }
    return false;
}

bool CIniStack::ReadLine(Estring& line) {
    char buffer[LineBytes];
    while (Count() > 0) {
        StdFile* top = At(Count() - 1);
        if (top->ReadLine(buffer, LineBytes) == 0) {
            line = buffer;
            return true;
        }
        Seek(Count() - 1);
        DeleteCurrent();
    }
    return false;
}
