// EError: the root of the exceptions Quorvane throws. It carries only its
// message text, which handlers read through GetText; it is thrown by value.
// EFileError is the failure of a file: its message names the file and the
// system's text for the file's last error.
#pragma once

#include "base/strings/Westring.h"

class StdFile;

class EError {
public:
    explicit EError(const Westring& message) : m_message(message) {}
    // Handlers may delete a derived exception through this base.
    virtual ~EError() = default;

    virtual Westring GetText() const { return m_message; }

protected:
    Westring m_message;
};

class EFileError : public EError {
public:
    // text ": " the file's path ": " the system's message for the file's last
    // error. The file itself is not touched.
    EFileError(const StdFile& file, const Westring& text);
};
