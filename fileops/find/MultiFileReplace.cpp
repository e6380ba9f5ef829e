#include "fileops/find/MultiFileReplace.h"

#include <cstdio>
#include <cstring>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "app/settings/ReplacingFile.h"
#include "base/os/PathDisplay.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Estring.h"
#include "base/strings/Utf16String.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "fileops/FileContainsText.h"
#include "fileops/FileErrors.h"
#include "fileops/find/FFEntryStore.h"
#include "fileops/find/FileFinder.h"
#include "fileops/find/SearchFileForText.h"
#include "platform/win32.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace {

const int CopyStep = 4096;

void AppendUnit(std::string& out, uint32_t unit, int bytes, bool bigEndian) {
    for (int i = 0; i < bytes; i++) {
        const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
        out.push_back(static_cast<char>((unit >> shift) & 0xFF));
    }
}

// Copies the bytes [from, to) of the file to the sink through a buffer of
// at most CopyStep bytes.
int CopyRange(CTextFile& file, int64_t from, int64_t to, IReplaceSink& sink) {
    char buffer[CopyStep];
    while (from < to) {
        uint32_t n = static_cast<uint32_t>(to - from < CopyStep ? to - from : CopyStep);
        uint32_t got = n;
        if (file.ReadAt(from, buffer, got) != 0 || got != n)
            return ReplaceReadError;
        if (!sink.Write(buffer, got))
            return ReplaceWriteError;
        from += got;
    }
    return ReplaceDone;
}

class CHandleSink : public IReplaceSink {
public:
    explicit CHandleSink(HANDLE handle) : handle(handle), error(0) {}
    bool Write(const void* bytes, uint32_t n) override {
        while (n > 0) {
            DWORD written = 0;
            if (!WriteFile(handle, bytes, n, &written, nullptr) || written == 0) {
                error = GetLastError();
                if (error == 0)
                    error = ERROR_WRITE_FAULT;
                return false;
            }
            bytes = static_cast<const char*>(bytes) + written;
            n -= written;
        }
        return true;
    }
    HANDLE handle;
    DWORD error;
};

void ReportError(DWORD code, const Westring& path) {
    ShowMessageBox(DescribeFileError(static_cast<int>(code)).text, path, MessageBoxOk);
}

}  // namespace

std::string EncodeForTextFile(const Westring& text, int encoding, uint32_t codePage) {
    std::string out;
    switch (encoding) {
    case CTextFile::EncodingUtf32LE:
    case CTextFile::EncodingUtf32BE:
        for (int i = 0; i < text.Length(); i++)
            AppendUnit(out, text[i], 4, encoding == CTextFile::EncodingUtf32BE);
        break;
    case CTextFile::EncodingUtf16LE:
    case CTextFile::EncodingUtf16BE: {
        const bool big = encoding == CTextFile::EncodingUtf16BE;
        for (int i = 0; i < text.Length(); i++) {
            uint32_t c = text[i];
            if (c >= 0x10000 && c <= 0x10FFFF) {
                c -= 0x10000;
                AppendUnit(out, 0xD800 + (c >> 10), 2, big);
                AppendUnit(out, 0xDC00 + (c & 0x3FF), 2, big);
            } else {
                AppendUnit(out, c, 2, big);
            }
        }
        break;
    }
    case CTextFile::EncodingCodePage: {
        Estring bytes(text, codePage != 0 ? codePage : GetTextCodePage());
        out.assign(bytes.Data(), static_cast<size_t>(bytes.Length()));
        break;
    }
    default: {
        Estring bytes(text);
        out.assign(bytes.Data(), static_cast<size_t>(bytes.Length()));
        break;
    }
    }
    return out;
}

int ReplaceTextInFile(CTextFile& file, const Westring& text, const Westring& replacement, bool caseSensitive,
                      bool wholeWord, uint32_t codePage, IReplaceSink& sink, int& count) {
    const int encoding = file.Encoding();
    const bool bytes = encoding == CTextFile::EncodingCodePage || encoding == CTextFile::EncodingUnknown;
    if (codePage == 0)
        codePage = GetTextCodePage();
    const std::string spelt = EncodeForTextFile(replacement, encoding, codePage);
    const int64_t patternBytes =
        static_cast<int64_t>(EncodeForTextFile(text, CTextFile::EncodingCodePage, codePage).size());
    const int64_t size = file.KnownSize();
    int64_t copied = 0;
    int64_t position = bytes ? 0 : -1;
    for (;;) {
        if (text.IsEmpty() || (bytes && patternBytes == 0))
            break;
        int64_t at = bytes ? SearchFileForText(file, position, text, false, caseSensitive, wholeWord, codePage)
                           : file.Find(text, position, caseSensitive, wholeWord, false, SearchBreakRequested);
        if (at == -1)
            return ReplaceStopped;
        if (at < 0)
            break;
        // The match's own length in bytes: a case-insensitive match may be
        // spelt with other bytes than the text.
        int64_t end;
        if (bytes) {
            end = at + patternBytes;
        } else {
            file.SetCharPosition(at);
            for (int i = 0; i < text.Length(); i++)
                file.ReadChar();
            end = file.CharPosition();
        }
        int result = CopyRange(file, copied, at, sink);
        if (result != ReplaceDone)
            return result;
        if (!spelt.empty() && !sink.Write(spelt.data(), static_cast<uint32_t>(spelt.size())))
            return ReplaceWriteError;
        count++;
        copied = end;
        position = end;
        if (end <= at)
            break;
    }
    return CopyRange(file, copied, size, sink);
}

bool ReplaceInFile(FileFinder& finder, const Westring& path, const Westring& replacement, int& count) {
    (void)finder;
    CTextFile file;
    DWORD error = file.Open(path, StdFile::ModeRead, StdFile::ShareRead);
    if (error != 0) {
        ReportError(error, path);
        return false;
    }
    // A read-only file is not rewritten, whatever the system would let the
    // replacing rename do with it.
    const DWORD attributes = GetFileAttributesW(Utf16String(path).Data());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ReportError(ERROR_ACCESS_DENIED, path);
        return false;
    }
    const Westring temp = path + Westring(".qv@@@.tmp");
    Utf16String wideTemp(temp);
    HANDLE handle = CreateFileW(wideTemp.Data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ReportError(GetLastError(), temp);
        return false;
    }
    CReplacingFile replacing(path, temp);
    replacing.AdoptTemporaryFile();
    CHandleSink sink(handle);
    int made = 0;
    int result = ReplaceTextInFile(file, LastFindText, replacement, Config.FFCase != 0, Config.FFWholeWord != 0,
                                   FindCodePage, sink, made);
    if (result == ReplaceReadError)
        error = file.FileError() != 0 ? file.FileError() : ERROR_READ_FAULT;
    else if (result == ReplaceWriteError)
        error = sink.error;
    if (!CloseHandle(handle) && error == 0 && result == ReplaceDone)
        error = GetLastError();
    file.Close();
    if (result == ReplaceStopped)
        return false;  // the replacing file removes the temporary file
    if (error == 0)
        error = replacing.Replace();
    if (error != 0) {
        ReportError(error, path);
        return false;
    }
    count += made;
    return true;
}

namespace {

// The box that asks for the replacement; false on Esc.
bool AskReplacement(Westring& replacement) {
    const uint8_t colour = ColourOf(ColourMessages);
    Dialog dialog(-1, -3, 60, 8, colour);
    dialog.WriteCentred(-1, "Multi-file search & replace", colour);
    dialog.WriteText(1, 2, "Replace with:", colour);
    dialog.AddStringField(1, 3, 1, replacement, 56, -1, FieldKindFindText);
    dialog.AddOkCancelButtons(-1, -1, 1);
    const int code = dialog.Run();
    if (code != KEY_ENTER)
        return false;
    dialog.CommitAll();
    return true;
}

Westring Quoted(const Westring& text, int room) {
    return Westring("\"") + text.Left(room - 2) + Westring("\"");
}

// 'y' to go on, 'c' to ask for the replacement again, 27 to end.
int ConfirmReplace(const Westring& replacement, int files) {
    const uint8_t colour = ColourOf(ColourErrors);
    int width = LastFindText.Length() + 6 >= 54 + 6 ? LastFindText.Length() + 6 : 60;
    if (replacement.Length() + 6 > width)
        width = replacement.Length() + 6;
    if (width > ScreenColumns - 3)
        width = ScreenColumns - 3;
    Dialog dialog(-1, -3, width, 9, colour);
    const int inner = dialog.ClientWidth();
    dialog.WriteCentred(0, "Are you sure you want to replace", colour);
    dialog.WriteWideCentred(1, Quoted(LastFindText, inner), colour);
    dialog.WriteCentred(2, "with", colour);
    dialog.WriteWideCentred(3, Quoted(replacement, inner), colour);
    char line[48];
    snprintf(line, sizeof line, "in %d file%s", files, files == 1 ? "" : "s");
    dialog.WriteCentred(4, line, colour);
    static const TButtonDef buttons[] = {{KEY_ENTER, "_OK"}, {'c', "Cancel"}, {0, nullptr}};
    dialog.AddButtonRow(-1, -1, 1, buttons);
    const int code = dialog.Run();
    return code == KEY_ENTER ? 'y' : code == 'c' ? 'c' : KEY_ESC;
}

}  // namespace

void MultiFileReplace(FileFinder& finder) {
    Westring replacement;
    int files;
    {
        finder.listLock.Lock();
        files = FoundList.Count();
        finder.listLock.Unlock();
    }
    for (;;) {
        if (!AskReplacement(replacement))
            return;
        const int answer = ConfirmReplace(replacement, files);
        if (answer == KEY_ESC)
            return;
        if (answer == 'y')
            break;
    }
    const uint8_t colour = ColourOf(ColourMessages);
    int count = 0;
    int processed = 0;
    {
        Dialog progress(-1, -3, 60, 6, colour);
        progress.WriteCentred(-1, " Search & Replace ", colour);
        progress.WriteText(1, 1, "Processing", colour);
        for (int i = 0; i < files; i++) {
            Westring path;
            uint16_t attributes;
            {
                finder.listLock.Lock();
                path = Westring(FoundList.At(i)->name);
                attributes = FoundList.At(i)->attributes;
                finder.listLock.Unlock();
            }
            if (attributes & 0x10)
                continue;
            progress.WriteWide(1, 2, ShortenedPathForDisplay(path, 56).Pad(56), colour);
            if (!ReplaceInFile(finder, path, replacement, count))
                break;
            processed++;
        }
    }
    char line[96];
    snprintf(line, sizeof line, "Replaced %d occurances in %d files", count, processed);
    ShowMessageBox(Westring(line), Westring(), MessageBoxOk | MessageBoxNormal);
}
