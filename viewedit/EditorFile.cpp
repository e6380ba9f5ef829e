// Loading a file into the editor's lines and writing it back in its format,
// changing the format of an open file, Save As, and the per-file state kept
// between editing runs.
#include "viewedit/Editor.h"

#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "app/settings/ReplacingFile.h"
#include "base/os/CReadOnlyGuard.h"
#include "base/os/Links.h"
#include "base/os/SystemError.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Utf16String.h"
#include "ui/Dialog.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"
#include "ui/ProgressIndicatorThread.h"
#include "viewedit/UnsavableCharacters.h"
#include "viewedit/ViewerSearchState.h"

namespace {

// Lines read between two looks for a pressed Esc.
const int EscapePollLines = 256;

bool ReadFileState(const Westring& path, int64_t& size, TTimestamp& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    Utf16String wide(path);
    if (!GetFileAttributesExW(wide.Data(), GetFileExInfoStandard, &data))
        return false;
    size = int64_t((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    time = TTimestamp::FromFileTime(data.ftLastWriteTime);
    return true;
}

bool IsAbsolute(const Westring& path) {
    return (path.Length() >= 2 && path[1] == ':') || (path.Length() >= 1 && (path[0] == '\\' || path[0] == '/'));
}

// A file reached through symbolic links is written at its final target, so
// that the links stay links.
Westring FinalTarget(const Westring& path) {
    Westring current = path;
    for (int depth = 0; depth < 32; depth++) {
        Utf16String wide(current);
        DWORD attributes = GetFileAttributesW(wide.Data());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            break;
        Westring target = GetLinkTarget(current);
        if (target.IsEmpty())
            break;
        current = IsAbsolute(target) ? target : AddTrailingBackslash(ExtractDirectory(current)) + target;
    }
    return current;
}

// One pass over every line of the file, read in large pieces.
struct TSequentialPass {
    explicit TSequentialPass(CTextFile& file) : file(file) { file.SetSequential(true); }
    ~TSequentialPass() { file.SetSequential(false); }
    CTextFile& file;
};

}  // namespace

bool QVEditor::LoadFile(CTextFile& file, bool forceFormat, int startOffset, int highlightLength) {
    cursorIndex = topLine = cursorRow = cursorX = 0;
    lines.RemoveAll();
    HISTREC* record = nullptr;
    std::unique_ptr<FileReadProgress> progress;
    TProgressBytes done(0), total(0);
    if (file.IsOpen()) {
        TTimestamp time;
        if (file.GetModifyTime(time) == 0)
            loadTime = time;
        loadSize = file.KnownSize();
        file.SetCodePage(ViewerCodePage != 0 ? ViewerCodePage : GetTextCodePage());
        record = FileStatusStore.FindRecord(path);
        // Undo records and bookmarks describe the text they were made on: a
        // file changed since then makes them meaningless.
        if (record && record->fileSize >= 0 && (record->fileSize != loadSize || record->fileTime != loadTime)) {
            record->undo.FreeAll();
            record->redo.FreeAll();
            for (TBookmark& mark : record->bookmarks)
                mark = {-1, 0};
        }
        if (record && startOffset < 0 && record->viewerPosition >= 0)
            startOffset = record->viewerPosition > 0x7FFFFFFF ? 0x7FFFFFFF : int(record->viewerPosition);
        if (forceFormat) {
            file.SetByteOrderMark(byteOrderMark != 0);
            file.SetEncoding(encoding);
            file.SetCodePage(UINT(codePage));
        } else if (record && record->encoding != CTextFile::EncodingUnknown) {
            file.SetEncoding(record->encoding);
            if (record->codePage > 0)
                file.SetCodePage(UINT(record->codePage));
            byteOrderMark = file.HasByteOrderMark() ? 1 : 0;
            encoding = record->encoding;
            codePage = int32_t(file.CodePage());
        } else {
            codePage = int32_t(file.CodePage());
            byteOrderMark = file.HasByteOrderMark() ? 1 : 0;
            encoding = file.Encoding();
            if (encoding == CTextFile::EncodingUnknown) {
                encoding = CTextFile::EncodingCodePage;
                file.SetEncoding(encoding);
            }
        }
        total = file.KnownSize();
        progress.reset(new FileReadProgress(&done, &total, "Reading File"));
        pool.Reset();
    }
    modified = 0;
    bool placed = startOffset < 0;
    int placedIndex = 0;
    if (file.IsOpen()) {
        file.SetCharPosition(0);
        TSequentialPass pass(file);
        bool lastEnded = false;
        for (int count = 0;; count++) {
            int64_t lineStart = file.CharPosition();
            int64_t length = 0;
            const char32_t* text = file.ReadLine(length);
            if (!text)
                break;
            if (length > 0x7FFFFFF0 || !lines.AddLine(text, uint32_t(file.LastLineEnd()), int(length))) {
                progress.reset();
                ShowMessageBox(Westring("out of memory"), Westring("error"), 0);
                return false;
            }
            lastEnded = file.MoreFollows();
            done = file.CharPosition();
            if (!placed && startOffset < file.CharPosition()) {
                placed = true;
                topLine = lines.Count() - 1;
                int64_t index = startOffset - lineStart;
                placedIndex = index < 0 ? 0 : index > length ? int(length) : int(index);
                int end = placedIndex + (highlightLength > 0 ? highlightLength : 0);
                block = {topLine, placedIndex,
                         topLine, end > length ? int(length) : end,
                         0,       uint8_t(highlightLength > 0 ? 1 : 0)};
            }
            if (count % EscapePollLines == EscapePollLines - 1 && PollEscapeKey()) {
                progress.reset();
                return false;
            }
        }
        lineEndMode = file.FileLineEnd();
        if (lineEndMode > CTextFile::LineEndMixed)
            lineEndMode = CTextFile::LineEndCrLf;
        if (lines.Count() == 0 || lastEnded)
            lines.AddLine(U"", CTextFile::LineEndNone);
        else
            lines.At(lines.Count() - 1)->lineEnd = CTextFile::LineEndNone;
    }
    const bool hasStart = startOffset >= 0 && placed;
    if (record) {
        undoStack = record->undo;
        redoStack = record->redo;
        MarkSaved();
        for (int i = 0; i < HISTREC::BookmarkCount; i++)
            bookmarks[i] = record->bookmarks[i];
        if (!hasStart) {
            topLine = record->topLine;
            cursorRow = record->cursorRow;
            cursorX = record->cursorX;
            scroll = record->horizontalScroll;
        } else if (highlightLength <= 0) {
            int row = record->topLine + record->cursorRow - topLine;
            cursorRow = row < 0 ? 0 : row > rows - 3 ? rows - 3 : row;
        }
    } else {
        MarkSaved();
    }
    if (lines.Count() == 0)
        lines.AddLine(U"", CTextFile::LineEndNone);
    const int last = lines.Count() - 1;
    if (topLine < 0)
        topLine = 0;
    if (cursorRow < 0)
        cursorRow = 0;
    if (scroll < 0)
        scroll = 0;
    if (topLine + cursorRow > last) {
        topLine = last - rows + 3 > 0 ? last - rows + 3 : 0;
        cursorRow = last - topLine;
    }
    if (cursorRow >= rows - 2) {
        topLine += cursorRow - (rows - 3);
        cursorRow = rows - 3;
    }
    progress.reset();
    currentLine = CursorLine();
    buffer = lines.At(currentLine)->Text();
    if (hasStart && (!record || highlightLength > 0) && CursorLine() == topLine) {
        cursorIndex = placedIndex;
        cursorX = EditorDisplayWidth(buffer.Data(), placedIndex) - scroll;
    } else {
        cursorIndex = ColumnToIndex(buffer.Data(), cursorX, scroll);
    }
    lineLength = buffer.Length();
    lineWidth = EditorDisplayWidth(buffer.Data());
    redraw = 1;
    if (file.IsOpen() && file.BadSequences() > 0) {
        char text[128];
        snprintf(text, sizeof text,
                 "Warning: Invalid encoding found on %d lines. Saving this file will cause corruption",
                 file.BadSequences());
        ShowMessageBox(Westring(text), Westring(), 0);
    }
    return true;
}

namespace {

// Writes every line in the editor's line ends; the last line has none.
uint32_t WriteLines(CTextFile& out, QVEditorLineStore& lines, int lineEndMode, TProgressBytes& done) {
    uint32_t error = out.BeginRewrite();
    const int count = lines.Count();
    for (int i = 0; i < count && error == 0; i++) {
        QVEditorLine* line = lines.At(i);
        int kind = i == count - 1                           ? CTextFile::LineEndNone
                   : lineEndMode == CTextFile::LineEndMixed ? int(line->lineEnd)
                                                            : lineEndMode;
        Westring text = line->Text();
        if (line->trim)
            text = text.TrimRight();
        error = out.WriteLine(text.Data(), kind);
        done = i + 1;
    }
    uint32_t ended = out.EndRewrite();
    return error ? error : ended;
}

}  // namespace

bool QVEditor::ConfirmLossySave() {
    CUnsavableCharacters check(encoding, codePage > 0 ? UINT(codePage) : GetTextCodePage());
    if (!check.CanLose())
        return true;
    int64_t count = 0;
    for (int i = 0; i < lines.Count(); i++) {
        const Westring text = lines.At(i)->Text();
        count += check.Count(text.Data(), text.Length());
    }
    if (count == 0)
        return true;
    Estring text;
    text.Format("%lld characters cannot be saved in %s", static_cast<long long>(count),
                CTextFile::EncodingName(encoding, UINT(codePage > 0 ? codePage : GetTextCodePage())).Data());
    static const TButtonDef choices[] = {
        {'u', "Save as _UTF-8"}, {'a', "Save _Anyway"}, {27, "_Cancel"}, {0, nullptr}};
    int width = text.Length() + 6 > 52 ? text.Length() + 6 : 52;
    Dialog dialog(-1, -3, width, 6, ColourOf(ColourErrors));
    dialog.WriteCentred(0, text.Data(), dialog.Attribute());
    int first = dialog.AddButtonRow(-1, 2, 1, choices);
    dialog.SetHotKeys("uac", 3);
    // Nothing is lost unless the user says so.
    if (first >= 0)
        dialog.SetFocus(first + 2);
    switch (dialog.Run()) {
    case 'u':
        encoding = CTextFile::EncodingUtf8;
        byteOrderMark = 0;
        return true;
    case 'a': return true;
    default: return false;
    }
}

uint32_t QVEditor::SaveFile(const Westring& savePath) {
    StoreBuffer();
    // Asked before anything touches the file on disk.
    if (!ConfirmLossySave()) {
        redraw = 1;
        return ~0u;
    }
    // A link is looked through: the text and the read-only attribute are
    // the target's (a link's own attribute would not let the target be
    // replaced), and the link's own time says nothing about the text.
    const Westring target = FinalTarget(savePath);
    CReadOnlyGuard guard;
    if (readOnly) {
        if (ShowMessageBox(Westring("File is Read Only, override?"), savePath, MessageBoxOkCancel) != 'y')
            return ~0u;
        textFile.Close();
        DWORD error = guard.Clear(target);
        if (error != 0) {
            ShowMessageBox(Westring("Error clearing Read Only flag:") + FormatSystemError(error), savePath, 0);
            return error;
        }
    }
    int64_t size = 0;
    TTimestamp time;
    const bool exists = ReadFileState(target, size, time);
    if (exists && !newFile && loadTime != TTimestamp() &&
        (time.seconds > loadTime.seconds ||
         (time.seconds == loadTime.seconds && time.nanoseconds > loadTime.nanoseconds))) {
        if (ShowMessageBox(Westring("File has been modified since it was loaded. Overwrite anyway?"), savePath,
                           MessageBoxOkCancel) != 'y') {
            guard.Restore();
            return ~0u;
        }
    }

    // The text goes to a new file beside the old one, which takes the old
    // one's place in one rename: a failure at any point leaves the old file
    // whole. A file that does not exist yet is written directly.
    CTextFile out;
    out.SetEncoding(encoding);
    uint32_t error = 0;
    std::unique_ptr<CReplacingFile> replacing;
    if (exists) {
        Westring temp = CReplacingFile::FreeNameBeside(target);
        if (temp.IsEmpty()) {
            error = ERROR_ALREADY_EXISTS;
        } else {
            replacing.reset(new CReplacingFile(target, temp));
            error = out.Open(temp, StdFile::ModeRead | StdFile::ModeWrite | StdFile::ModeCreate, StdFile::ShareRead);
            if (error == 0)
                replacing->AdoptTemporaryFile();
        }
    } else {
        error = out.Open(target, StdFile::ModeRead | StdFile::ModeWrite | StdFile::ModeCreate | StdFile::ModeKeep,
                         StdFile::ShareRead);
    }
    if (error == 0) {
        out.SetByteOrderMark(byteOrderMark != 0);
        out.SetEncoding(encoding);
        out.SetCodePage(codePage > 0 ? UINT(codePage) : GetTextCodePage());
        TProgressBytes done(0), total(lines.Count());
        {
            FileReadProgress progress(&done, &total, "Saving File");
            error = WriteLines(out, lines, lineEndMode, done);
        }
        uint32_t closed = out.Close();
        if (error == 0)
            error = closed;
        if (error == 0 && replacing)
            error = replacing->Replace();
    }
    replacing.reset();
    if (error == 0 && ReadFileState(target, size, time)) {
        loadTime = time;
        loadSize = size;
    }
    guard.Restore();
    if (error != 0) {
        ShowMessageBox(Westring("Error writing text file: ") + FormatSystemError(error), savePath, 0);
        return error;
    }
    newFile = 0;
    MarkSaved();
    return 0;
}

QVEditor::CSaveAsDlg::CSaveAsDlg(Westring* name, int32_t* encoding, int32_t* codePage, uint8_t* byteOrderMark)
    : CFormatSelectDlg("Save As", encoding, codePage, byteOrderMark, 2), name(name) {
    WriteText(1, 1, "Name:", Attribute());
    int field = AddStringField(7, 1, 1, *name, 50, 512, FieldKindFileName);
    if (field >= 0) {
        TakeHotLetter(field, "_Name");
        SetFocus(field);
    }
}

bool QVEditor::SaveAs(Westring& name) {
    const Westring oldPath = path;
    for (;;) {
        int32_t newEncoding = encoding;
        int32_t newCodePage = codePage;
        uint8_t newMark = byteOrderMark;
        {
            CSaveAsDlg dialog(&name, &newEncoding, &newCodePage, &newMark);
            if (dialog.Run() != 13)
                return false;
        }
        if (name.IsEmpty())
            continue;
        const bool other = !name.EqualsNoCase(oldPath);
        if (other) {
            Utf16String wide(name);
            if (GetFileAttributesW(wide.Data()) != INVALID_FILE_ATTRIBUTES &&
                ShowMessageBox(Westring("File already exists, Overwrite?"), name, MessageBoxOkCancel) != 'y')
                continue;
        }
        const uint8_t savedReadOnly = readOnly, savedNew = newFile;
        const TTimestamp savedTime = loadTime;
        const int32_t savedEncoding = encoding, savedCodePage = codePage;
        const uint8_t savedMark = byteOrderMark;
        if (other) {
            // Nothing is written to the new name before the text itself, so a
            // failure leaves no empty file behind: the save creates it.
            readOnly = 0;
            newFile = 1;
            loadTime = TTimestamp();
        }
        encoding = newEncoding;
        codePage = newCodePage;
        byteOrderMark = newMark;
        if (SaveFile(name) == 0) {
            path = name;
            modified = 0;
            return true;
        }
        readOnly = savedReadOnly;
        newFile = savedNew;
        loadTime = savedTime;
        encoding = savedEncoding;
        codePage = savedCodePage;
        byteOrderMark = savedMark;
    }
}

namespace {

// Everything a reload replaces, so that one that fails or is cancelled
// midway can put the old text back.
struct TEditorSnapshot {
    MemoryPool pool;
    QVEditorLineStore lines{&pool};
    TUndoStack undo, redo;
    TBookmark bookmarks[HISTREC::BookmarkCount];
    int32_t topLine, cursorRow, cursorX, scroll, cursorIndex, lineEndMode;
    uint8_t modified;
    uint32_t savedPoint;
    TTimestamp loadTime;
    int64_t loadSize;
};

void CopyLines(QVEditorLineStore& from, QVEditorLineStore& to) {
    to.RemoveAll();
    to.Pool()->Reset();
    for (int i = 0; i < from.Count(); i++) {
        QVEditorLine* line = from.At(i);
        to.AddLine(line->Text().Data(), line->lineEnd, line->Length());
        to.At(to.Count() - 1)->trim = line->trim;
    }
}

}  // namespace

bool QVEditor::ReloadWithEncoding() {
    if (newFile)
        return true;
    if (modified) {
        Dialog dialog(-1, -1, 44, 6, ColourOf(ColourErrors));
        dialog.WriteCentred(-1, " Code Page Change ", dialog.Attribute());
        dialog.WriteCentred(0, "File must be re-loaded, discard changes?", dialog.Attribute());
        int buttons = dialog.AddOkCancelButtons(-1, -1, 1);
        if (buttons >= 0)
            dialog.SetFocus(buttons + 1);
        if (dialog.Run() != 13)
            return false;
    }
    StoreBuffer();
    uint32_t error = textFile.Open(path, StdFile::ModeRead, StdFile::ShareRead);
    if (error != 0) {
        ShowMessageBox(FormatSystemError(error), path, 0);
        return false;
    }
    std::unique_ptr<TEditorSnapshot> old(new TEditorSnapshot);
    CopyLines(lines, old->lines);
    old->undo = undoStack;
    old->redo = redoStack;
    for (int i = 0; i < HISTREC::BookmarkCount; i++)
        old->bookmarks[i] = bookmarks[i];
    old->topLine = topLine;
    old->cursorRow = cursorRow;
    old->cursorX = cursorX;
    old->scroll = scroll;
    old->cursorIndex = cursorIndex;
    old->lineEndMode = lineEndMode;
    old->modified = modified;
    old->savedPoint = savedPoint;
    old->loadTime = loadTime;
    old->loadSize = loadSize;
    const bool discarding = modified != 0;
    bool loaded = LoadFile(textFile, true, -1, 0);
    textFile.Close();
    if (!loaded) {
        CopyLines(old->lines, lines);
        undoStack = old->undo;
        redoStack = old->redo;
        for (int i = 0; i < HISTREC::BookmarkCount; i++)
            bookmarks[i] = old->bookmarks[i];
        topLine = old->topLine;
        cursorRow = old->cursorRow;
        cursorX = old->cursorX;
        scroll = old->scroll;
        lineEndMode = old->lineEndMode;
        modified = old->modified;
        savedPoint = old->savedPoint;
        loadTime = old->loadTime;
        loadSize = old->loadSize;
        Refetch();
        cursorIndex = old->cursorIndex;
        redraw = 1;
        return false;
    }
    // The discarded changes' records would now apply to text they were not
    // made on.
    if (discarding && !FileStatusStore.FindRecord(path)) {
        undoStack.FreeAll();
        redoStack.FreeAll();
        MarkSaved();
    }
    return true;
}

void QVEditor::SelectFileEncoding() {
    int32_t newEncoding = encoding;
    int32_t newCodePage = codePage;
    uint8_t newMark = byteOrderMark;
    {
        CFormatSelectDlg dialog("Select File Encoding", &newEncoding, &newCodePage, &newMark);
        if (dialog.Run() != 13)
            return;
    }
    byteOrderMark = newMark;
    if (newEncoding == encoding && newCodePage == codePage)
        return;
    if (encoding == CTextFile::EncodingCodePage && newEncoding == CTextFile::EncodingCodePage) {
        RecodeLines(codePage, newCodePage);
        redraw = 1;
        return;
    }
    const int32_t oldEncoding = encoding, oldCodePage = codePage;
    encoding = newEncoding;
    codePage = newCodePage;
    if (!ReloadWithEncoding()) {
        encoding = oldEncoding;
        codePage = oldCodePage;
    }
    redraw = 1;
}

void QVEditor::StoreFileStatus(const Westring& recordPath) {
    HISTREC* record = FileStatusStore.FindOrAdd(recordPath);
    record->topLine = topLine;
    record->cursorRow = cursorRow;
    record->cursorX = cursorX;
    record->horizontalScroll = scroll;
    record->undo = undoStack;
    record->redo = redoStack;
    for (int i = 0; i < HISTREC::BookmarkCount; i++)
        record->bookmarks[i] = bookmarks[i];
    record->viewerPosition = -1;
    record->encoding = encoding;
    record->codePage = codePage;
    record->fileSize = loadSize;
    record->fileTime = loadTime;
}
