#include "base/io/StreamWriteFile.h"

CStreamWriteFile::CStreamWriteFile(const Westring& path)
    : m_file(path, StdFile::ModeRead | StdFile::ModeWrite | StdFile::ModeCreate, StdFile::ShareRead) {}

bool CStreamWriteFile::Check(uint32_t error) {
    if (error == 0)
        return true;
    m_error = TStreamError(TStreamError::kSystem, static_cast<int>(error), FormatSystemErrorA(m_file.LastError()));
    return false;
}

bool CStreamWriteFile::Write(const char* text, uint32_t length) {
    return Check(m_file.Write(text, length));
}

bool CStreamWriteFile::Close() {
    return Check(m_file.Close());
}
