#include "base/io/RandomFileStreamRead.h"

bool CRandomFileStreamRead::Fail(uint32_t error) {
    m_error = TStreamError(TStreamError::kSystem, int(error), FormatSystemErrorA(error));
    return false;
}

bool CRandomFileStreamRead::Read(void* buffer, uint32_t* count) {
    uint32_t got = 0;
    uint32_t error = file->Read(buffer, *count, &got);
    if (error == StdFile::EndOfFile) {
        *count = 0;
        return false;
    }
    if (error != 0) {
        *count = 0;
        return Fail(error);
    }
    *count = got;
    return true;
}

bool CRandomFileStreamRead::Skip(int64_t n) {
    int64_t target = file->Position() + n;
    file->SetPosition(target);
    if (target <= file->KnownSize())
        return true;
    // Past the end is a failure even when the file itself has none to tell.
    uint32_t error = file->FileError();
    return Fail(error != 0 ? error : uint32_t(ERROR_HANDLE_EOF));
}
