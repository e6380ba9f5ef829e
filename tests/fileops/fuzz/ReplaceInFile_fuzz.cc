// The matching and copying of the multi-file replace over arbitrary bytes,
// held against a plain replace of the same bytes: every match replaced, left
// to right, never overlapping the one before, every other byte kept.
//
// Input: a flag byte (bit 0: without regard to case, used when the text is
// ASCII), the length of the text and its bytes, the length of the
// replacement and its bytes, then the file. The texts are read in code page
// 1252, the file is searched as a code-page file.
#include <stdlib.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "base/io/TextFile.h"
#include "base/strings/LocaleCase.h"
#include "base/strings/Utf16String.h"
#include "fileops/find/MultiFileReplace.h"
#include "fileops/find/SearchFileForText.h"
#include "platform/win32.h"

namespace {

const uint32_t CodePage = 1252;

class CStringSink : public IReplaceSink {
public:
    bool Write(const void* bytes, uint32_t n) override {
        out.append(static_cast<const char*>(bytes), n);
        return true;
    }
    std::string out;
};

// Bytes that stand for one character each way through code page 1252.
bool Representable(unsigned char b) {
    return (b >= 0x20 && b < 0x7F) || b >= 0xA0;
}

std::string Take(const uint8_t*& data, size_t& size) {
    if (size == 0)
        return std::string();
    size_t n = data[0] % 16;
    data++;
    size--;
    if (n > size)
        n = size;
    std::string text;
    for (size_t i = 0; i < n; i++) {
        if (Representable(data[i]))
            text.push_back(static_cast<char>(data[i]));
    }
    data += n;
    size -= n;
    return text;
}

std::string Folded(std::string text, bool fold) {
    if (fold) {
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < 0x80)
                c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        }
    }
    return text;
}

std::string ReferenceReplace(const std::string& file, const std::string& text, const std::string& replacement,
                             bool fold, int& count) {
    const std::string haystack = Folded(file, fold);
    const std::string needle = Folded(text, fold);
    std::string out;
    size_t from = 0;
    for (;;) {
        size_t at = haystack.find(needle, from);
        if (at == std::string::npos)
            break;
        out += file.substr(from, at - from);
        out += replacement;
        count++;
        from = at + needle.size();
    }
    return out + file.substr(from);
}

bool IsAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

Westring TempFilePath() {
    WCHAR directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    Westring path(directory);
    path = AddTrailingBackslash(path);
    char name[64];
    snprintf(name, sizeof name, "qv-replace-fuzz-%u.bin", static_cast<unsigned>(GetCurrentProcessId()));
    return path + Westring(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        InitCaseTables();
        SetSearchEscapePolling(false);
        ready = true;
    }
    if (size == 0)
        return 0;
    const bool wantFold = (data[0] & 1) != 0;
    data++;
    size--;
    const std::string text = Take(data, size);
    const std::string replacement = Take(data, size);
    const std::string contents(reinterpret_cast<const char*>(data), size);
    if (text.empty())
        return 0;
    const bool fold = wantFold && IsAscii(text);

    static const Westring path = TempFilePath();
    Utf16String wide(path);
    HANDLE handle = CreateFileW(wide.Data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        abort();
    DWORD written = 0;
    if (!contents.empty() &&
        (!WriteFile(handle, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) ||
         written != contents.size()))
        abort();
    CloseHandle(handle);

    CTextFile file;
    if (file.Open(path, StdFile::ModeRead) != 0)
        abort();
    file.SetEncoding(CTextFile::EncodingCodePage);
    CStringSink sink;
    int count = 0;
    int result = ReplaceTextInFile(file, Westring(text.c_str(), CodePage), Westring(replacement.c_str(), CodePage),
                                   !fold, false, CodePage, sink, count);
    file.Close();
    int expectedCount = 0;
    const std::string expected = ReferenceReplace(contents, text, replacement, fold, expectedCount);
    if (result != ReplaceDone || sink.out != expected || count != expectedCount)
        abort();
    return 0;
}
