// Conversions between 32-bit and 8-bit text through the console output code
// page, and the code page of 8-bit text files.
#pragma once

#include "base/strings/Westring.h"
#include "platform/win32.h"

// The console output code page; start-up keeps GetConsoleOutputCP() here.
// Until then it is UTF-8.
extern UINT ConsoleOutputCodePage;

// Mirror of the configured "TextCodePage" (0: the system ANSI code page); the
// configuration sets it when it reads the ini file.
extern int TextCodePageSetting;

Estring ToEstring(const Westring& text);
Estring ToEstring(const Estring& text);
Westring ToWestring(const Estring& text);
Westring ToWestring(const Westring& text);
Westring ToWestring(const char32_t* text);

UINT GetTextCodePage();
