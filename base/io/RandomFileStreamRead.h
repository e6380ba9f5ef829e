// CRandomFileStreamRead: a readable stream over a CRandomFile, from and at the
// file's sequential position. The archive readers read archive files through
// it. The file is not owned and must outlive the stream.
#pragma once

#include "base/io/RandomFile.h"
#include "base/io/StreamReadBase.h"

class CRandomFileStreamRead : public CStreamReadBase {
public:
    explicit CRandomFileStreamRead(CRandomFile* file) : file(file) {}

    // True with the bytes delivered in *count (fewer than asked at the end of
    // the file); false with the error record untouched when nothing was left,
    // or with a system error recorded when the read failed.
    bool Read(void* buffer, uint32_t* count) override;
    // Moves the position on by n; false, with the file's last error recorded
    // (ERROR_HANDLE_EOF when it has none), when that lands past the known size
    // (the position stays moved).
    bool Skip(int64_t n) override;

    CRandomFile* File() const { return file; }

private:
    bool Fail(uint32_t error);

    CRandomFile* file;
};
