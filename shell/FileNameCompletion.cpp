#include "shell/FileNameCompletion.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/io/DirScanner.h"
#include "base/os/SearchPath.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "shell/CommandExecution.h"
#include "ui/Dialog.h"

namespace {

bool IsDot(const char32_t* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// True when `text` begins with `start`, letters compared without case.
bool BeginsWithNoCase(const Westring& text, const Westring& start) {
    return text.Length() >= start.Length() && text.Left(start.Length()).EqualsNoCase(start);
}

}  // namespace

void CFileNameCompletion::Reset(const Westring& word) {
    complete = 0;
    longest = 0;
    prefix = word;
    prefixLength = word.Length();
    directoryPart.Clear();
    candidates.FreeAll();
}

Westring CFileNameCompletion::Join(const Westring& name) const {
    // A root ("\" or "X:\") already ends in the separator; a word without
    // a directory part stays without one.
    return directoryPart.IsEmpty() ? name : AddTrailingBackslash(directoryPart) + name;
}

void CFileNameCompletion::CompletionAddCandidate(const entry* item, Westring& common) {
    if (IsDot(item->name)) {
        return;
    }
    Westring name(item->name);
    if (!BeginsWithNoCase(name, prefix.Left(prefixLength))) {
        return;
    }
    if ((item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        name += Westring("\\");
    }
    candidates.Add(new Westring(name));
    if (name.Length() > longest) {
        longest = name.Length();
    }
    if (prefix.IsEmpty()) {
        return;
    }
    if (candidates.Count() == 1) {
        common = name;
        complete = 1;
        return;
    }
    complete = 0;
    while (!common.IsEmpty() && !BeginsWithNoCase(name, common)) {
        common = common.DropRight(1);
    }
}

void CFileNameCompletion::CompletionScanDirectory(const Westring& directory, Westring& common, bool programsOnly) {
    CDirScanner scanner(directory);
    DWORD mask = programsOnly ? CDirScanner::ScanFiles : CDirScanner::ScanEverything;
    entry* item = nullptr;
    for (DWORD r = scanner.FindFirst(Westring("*"), mask, &item); r == 0; r = scanner.FindNext(&item)) {
        // The name is tested before the program kind, which may read the file.
        if (programsOnly && (!BeginsWithNoCase(Westring(item->name), prefix.Left(prefixLength)) ||
                             !IsProgramFileName(item, directory))) {
            continue;
        }
        CompletionAddCandidate(item, common);
    }
}

bool CFileNameCompletion::ChooseCompletion(Westring& result) {
    if (candidates.Count() == 0) {
        return false;
    }
    int width = longest + 4 < ScreenColumns - 5 ? longest + 4 : ScreenColumns - 6;
    int height = candidates.Count() + 2 < ScreenRows - 3 ? candidates.Count() + 2 : ScreenRows - 4;
    Dialog dialog(-1, -2, width, height, ColourOf(ColourMenu));
    int32_t selection = 0;
    int list = dialog.AddListBoxWestring(0, 0, 1, width - 2, height - 2, candidates, &selection, KEY_ENTER);
    dialog.AddExitKey(KEY_CTRL_J);
    dialog.SetListBoxSearch(list, prefix);
    int key = dialog.Run();
    if ((key != KEY_ENTER && key != KEY_CTRL_J) || selection < 0 || selection >= candidates.Count()) {
        return false;
    }
    const Westring& chosen = *candidates.At(selection);
    result = Join(chosen);
    complete = 1;
    return true;
}

bool CFileNameCompletion::Complete(const Westring& word, Westring& result) {
    Reset(word);
    result.Clear();
    if (word.Find('\\') >= 0) {
        return CompleteFromDirectory(word, result);
    }
    WestringStore directories;
    BuildSearchPathList(directories, Config.PathAppend);
    Westring common;
    for (int i = 0; i < directories.Count(); i++) {
        CompletionScanDirectory(*directories.At(i), common, true);
    }
    if (common.Length() > prefixLength) {
        result = common;
        return true;
    }
    if (candidates.Count() == 1) {
        result = *candidates.At(0);
        complete = 1;
        return true;
    }
    return candidates.Count() > 1 && ChooseCompletion(result);
}

bool CFileNameCompletion::CompleteFromDirectory(const Westring& word, Westring& result) {
    Reset(word);
    result.Clear();
    int separator = word.Length() - 1;
    while (separator >= 0 && word[separator] != '\\') {
        separator--;
    }
    if (separator >= 0) {
        // A drive root keeps its backslash.
        bool root = separator == 2 && word[1] == ':';
        directoryPart = word.Left(root ? separator + 1 : separator);
        prefix = word.Mid(separator + 1, word.Length());
    }
    if (separator == 0) {
        directoryPart = Westring("\\");
    }
    prefixLength = prefix.Length();
    Westring common;
    // A word without a directory part names an entry of the current directory.
    CompletionScanDirectory(directoryPart.IsEmpty() ? Westring(".") : directoryPart, common, false);
    if (common.Length() > prefixLength) {
        result = Join(common);
        return true;
    }
    if (candidates.Count() == 1) {
        result = Join(*candidates.At(0));
        complete = 1;
        return true;
    }
    return candidates.Count() > 1 && ChooseCompletion(result);
}
