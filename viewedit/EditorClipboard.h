// The editor's side of the clipboard: the one store of lines through which
// blocks go to and come from the host's clipboard, and the copy and append of
// a block.
#pragma once

#include "base/strings/StringStore.h"
#include "viewedit/Editor.h"

extern WestringStore EditorClipboard;

// The block's lines become the clipboard; a line before the last whose trim
// flag is set loses its trailing white space.
void CopyBlockToClipboard(QVEditorLineStore& lines, const TEditorBlock& region, WestringStore& store);
// As copy, but after what the clipboard holds: the first piece continues its
// last line.
void AppendBlockToClipboard(QVEditorLineStore& lines, const TEditorBlock& region, WestringStore& store);
