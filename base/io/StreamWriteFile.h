// CStreamWriteFile: a text sink that creates (or opens) a file and writes to
// it, with others allowed to read it meanwhile. Opening is not reported by the
// constructor: the file keeps the open's error and the first Write returns it.
#pragma once

#include "base/io/StdFile.h"
#include "base/io/StreamWrite.h"

class CStreamWriteFile : public CStreamWriteBase {
public:
    explicit CStreamWriteFile(const Westring& path);

    bool Write(const char* text, uint32_t length) override;
    bool Close() override;

private:
    bool Check(uint32_t error);

    StdFile m_file;
};
