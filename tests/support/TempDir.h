// A temporary folder for one test, made under the system's temporary path
// (GetTempPathW) and removed with everything in it when the test ends, so one
// test source runs unchanged on Linux and under wine.
#pragma once

#include "platform/win32.h"

#include <string>

namespace qvtest {

using WString = std::basic_string<WCHAR>;

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder in Windows form, without a trailing backslash.
    const WString& Path() const { return m_path; }
    // Path() + "\" + name.
    WString Join(const WString& name) const;
    // Makes another temporary folder under the given root folder (a second drive).
    static WString MakeUnder(const WString& root);

private:
    WString m_path;
};

// Writes bytes into a new file; true on success.
bool WriteFileBytes(const WString& path, const std::string& bytes);
// Reads a whole file; empty on failure (check existence separately).
std::string ReadFileBytes(const WString& path);
// Removes a folder and everything under it (clears read-only bits on the way).
void RemoveTree(const WString& path);
// UTF-8 to UTF-16 and back, for building wide paths from test literals.
WString W(const std::string& utf8);
std::string U8(const WString& text);

}  // namespace qvtest
