// What the File Find window reaches above the file operations: the
// associations and the command runner (shell), the viewer and the editor.
// The program fills these at start-up; a null hook does nothing.
#pragma once

#include "base/io/Entry.h"
#include "base/strings/Westring.h"

class CPanel;

struct TFileFindHooks {
    // The command that views (F3, Alt-F3) or edits (F4, Alt-F4) a found file:
    // the first matching association for F3 and F4, else the configured
    // program; empty for the internal viewer or editor. False when the user
    // cancelled a choice between associations.
    bool (*commandFor)(const entry* item, int key, Westring& command);
    // Expands the command's macros for the file and runs it as from the panel
    // of that side.
    void (*runCommand)(const Westring& command, const Westring& path, int side);
    // The internal viewer over the panel's entries from its cursor; the
    // panel's cursor ends on the file viewed last.
    void (*viewPanelFiles)(CPanel* panel);
    // The internal editor at a byte offset with that many characters marked.
    void (*editFile)(const Westring& path, int64_t offset, int length);
    // The search text and options the viewer starts from.
    void (*setViewerSearch)(const Westring& text, bool caseSensitive, bool wholeWord);
};
extern TFileFindHooks FileFindHooks;
