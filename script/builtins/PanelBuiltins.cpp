// The builtins over the running file manager: a question to the user, the
// active panel (its directory, entries and tags), the viewer and the editor,
// the clipboard, the environment, the stored paths, the colour of the
// script's output, command lines and the configuration file.
#include "app/panels/Panel.h"
#include "app/panels/PanelDirectoryChange.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelTagging.h"
#include "base/os/PathNormalizer.h"
#include "app/settings/Colours.h"
#include "app/settings/StoredPaths.h"
#include "base/os/Environment.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "script/QVScript.h"
#include "script/values/PanelEntryValues.h"
#include "script/values/ScriptValue.h"
#include "shell/CommandExecution.h"
#include "ui/ConsoleControl.h"
#include "ui/Dialog.h"
#include "ui/IniMessages.h"
#include "viewedit/ViewerEditor.h"

namespace {

CPanel* ActivePanel() {
    return &Panels[ActiveSide];
}

ValueHandle Undefined() {
    return ValueHandle(new CScriptValue());
}

// The screen as the script left it, put back after a full-screen tool drew
// over the script's output.
class CKeptScreen {
public:
    CKeptScreen() {
        if (!Console)
            return;
        Console->GetScreenSize(m_columns, m_rows);
        Console->GetCursorPos(m_x, m_y);
        m_attribute = Console->GetAttribute();
        m_cells = Console->SaveRect(0, 0, m_columns, m_rows);
    }
    ~CKeptScreen() {
        if (!Console || !m_cells)
            return;
        int columns = 0, rows = 0;
        Console->GetScreenSize(columns, rows);
        // A screen of another size cannot take the old cells back.
        if (columns == m_columns && rows == m_rows)
            Console->PutCellRect(0, 0, m_columns, m_rows, m_cells);
        delete[] m_cells;
        Console->SetAttribute(m_attribute);
        Console->SetCursorPos(m_x, m_y);
    }
    CKeptScreen(const CKeptScreen&) = delete;
    CKeptScreen& operator=(const CKeptScreen&) = delete;

private:
    int m_columns = 0, m_rows = 0, m_x = 0, m_y = 0;
    uint8_t m_attribute = 0;
    TCell* m_cells = nullptr;
};

}  // namespace

ValueHandle QVScript::BuiltinAskConfirm(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    Westring title = GetArgument(args, ScriptString, 0)->GetString();
    ValueHandle second = *args.CellAt(1);
    WestringStore lines;
    if (second->GetType() == ScriptString) {
        lines.Add(new Westring(second->GetString()));
    } else if (second->GetType() == ScriptList) {
        int cursor = 0;
        second->BeginIteration(cursor);
        for (ValueHandle item = second->IterateNext(cursor); item; item = second->IterateNext(cursor)) {
            if (item->GetType() != ScriptString)
                item = ConvertValue(*item, ScriptString);
            if (item->GetType() == ScriptString)
                lines.Add(new Westring(item->GetString()));
        }
    }
    int width = title.Length() < 17 ? 18 : title.Length() + 2;
    for (int i = 0; i < lines.Count(); i++)
        if (lines.At(i)->Length() > width)
            width = lines.At(i)->Length();
    // The dialog never reaches past the screen: it is cut to the screen's
    // width, and lines that find no row are left out.
    int dialogWidth = width + 3 < ScreenColumns ? width + 4 : ScreenColumns;
    int shown = lines.Count();
    if (shown + 4 > ScreenRows)
        shown = ScreenRows - 4 > 0 ? ScreenRows - 4 : 0;
    Dialog dialog(-1, -4, dialogWidth, shown + 4, ColourOf(ColourMessages));
    int room = dialog.ClientWidth();
    Westring heading = Westring(" ") + title + Westring(" ");
    dialog.WriteWideCentredDefault(-1, heading.Length() > room ? heading.Left(room) : heading);
    for (int i = 0; i < shown; i++) {
        const Westring& line = *lines.At(i);
        dialog.WriteWideCentredDefault(i, line.Length() > room ? line.Left(room) : line);
    }
    dialog.AddOkCancelButtons(-1, -1, 1);
    return ValueHandle(new CScriptValue(dialog.Run() == 13));
}

ValueHandle QVScript::BuiltinCd(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring path = GetArgument(args, ScriptString, 0)->GetString();
    // A relative path is taken from the panel's directory, as the command
    // line's cd takes it.
    CPanel* panel = ActivePanel();
    bool resolved = NormalizePath(path, panel->path) == 0 && ResolvePanelPath(panel, path) != 0;
    if (resolved)
        ChangePanelDirectory(Panels, ActiveSide, Westring(), false, -1, 0);
    return ValueHandle(new CScriptValue(resolved));
}

ValueHandle QVScript::BuiltinColour(TArgumentStore& args) {
    CheckArgRange(args.Count(), 1, 2);
    int64_t foreground = GetArgument(args, ScriptInt, 0)->GetInt();
    bool withBackground = args.Count() > 1;
    int64_t background = withBackground ? GetArgument(args, ScriptInt, 1)->GetInt() : 0;
    if (Console) {
        uint8_t attribute = Console->GetAttribute();
        if (withBackground)
            attribute = uint8_t((attribute & 15) | (background << 4));
        Console->SetAttribute(uint8_t((attribute & 0xF0) | (foreground & 15)));
    }
    return Undefined();
}

ValueHandle QVScript::RunViewerOrEditor(TArgumentStore& args, bool edit) {
    CheckArgRange(args.Count(), 1, 2);
    Westring path = GetArgument(args, ScriptString, 0)->GetString();
    int64_t start = args.Count() > 1 ? GetArgument(args, ScriptInt, 1)->GetInt() : 0;
    // An offset past what the tools take means past the end of any file
    // they can show: they then start at the top.
    int startValue = start > 0x7FFFFFFF ? 0x7FFFFFFF : start < -1 ? -1 : int(start);
    CKeptScreen kept;
    // The viewer and the editor are the user's while they are open, not an
    // operation the script polls: Ctrl-C there is their own key.
    CUserAbortScope interactive(UserAbortIdle);
    if (edit)
        EditFile(path, startValue, 0);
    else
        ViewFile(path, startValue);
    return Undefined();
}

ValueHandle QVScript::BuiltinView(TArgumentStore& args) {
    return RunViewerOrEditor(args, false);
}

ValueHandle QVScript::BuiltinEdit(TArgumentStore& args) {
    return RunViewerOrEditor(args, true);
}

ValueHandle QVScript::BuiltinFiles(TArgumentStore& args) {
    CheckArgCount(args.Count(), 0);
    return ValueHandle(new CPanelEntryListValue(ActivePanel()));
}

ValueHandle QVScript::TagByMask(TArgumentStore& args, int mode) {
    CheckArgCount(args.Count(), 2);
    Westring mask = GetArgument(args, ScriptString, 0)->GetString();
    bool directories = GetArgument(args, ScriptBool, 1)->GetBool();
    CPanel* panel = ActivePanel();
    ReadPanelIfMarked(panel);
    TagEntriesByMask(mask, panel, mode, directories);
    return Undefined();
}

ValueHandle QVScript::BuiltinTag(TArgumentStore& args) {
    return TagByMask(args, 1);
}

ValueHandle QVScript::BuiltinUntag(TArgumentStore& args) {
    return TagByMask(args, -1);
}

ValueHandle QVScript::BuiltinGetCurrentDir(TArgumentStore& args) {
    CheckArgCount(args.Count(), 0);
    return ValueHandle(new CScriptValue(Westring(ActivePanel()->path)));
}

int QVScript::StoredPathSlot(TArgumentStore& args, int index) {
    // Checked on the whole number: a position that only its low half would
    // put in range is out of range.
    int64_t position = GetArgument(args, ScriptInt, index)->GetInt();
    if (position < 0 || position >= StoredPathCount) {
        CToken* token = (*args.CellAt(index))->GetSourceToken();
        RunError(token ? token : Current(), Westring("Stored Path position out of range"));
    }
    return int(position);
}

ValueHandle QVScript::BuiltinGetStoredPath(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    return ValueHandle(new CScriptValue(StoredPaths[StoredPathSlot(args, 0)]));
}

ValueHandle QVScript::BuiltinSetStoredPath(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    int slot = StoredPathSlot(args, 0);
    StoredPaths[slot] = GetArgument(args, ScriptString, 1)->GetString();
    return Undefined();
}

ValueHandle QVScript::BuiltinGetEnvVar(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Estring name;
    GetArgument(args, ScriptString, 0)->GetString().ToUtf8(name);
    Westring value;
    if (const Estring* found = TopEnvironment().Get(name))
        value.AssignUtf8(found->Data());
    return ValueHandle(new CScriptValue(value));
}

ValueHandle QVScript::BuiltinSetEnvVar(TArgumentStore& args) {
    CheckArgCount(args.Count(), 2);
    Estring name, value;
    GetArgument(args, ScriptString, 0)->GetString().ToUtf8(name);
    GetArgument(args, ScriptString, 1)->GetString().ToUtf8(value);
    TopEnvironment().Set(name, value);
    return Undefined();
}

ValueHandle QVScript::BuiltinGetClip(TArgumentStore& args) {
    CheckArgCount(args.Count(), 0);
    Westring text;
    if (!Console || !Console->GetClipboardText(text))
        text.Clear();
    return ValueHandle(new CScriptValue(text));
}

ValueHandle QVScript::BuiltinPutClip(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring text = GetArgument(args, ScriptString, 0)->GetString();
    if (Console)
        Console->SetClipboardText(text);
    return ValueHandle(new CScriptValue(true));
}

ValueHandle QVScript::BuiltinRun(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring command = GetArgument(args, ScriptString, 0)->GetString();
    return ValueHandle(new CScriptValue(int64_t(ExecuteCommandLine(command, ActiveSide, 0))));
}

ValueHandle QVScript::BuiltinSaveSetup(TArgumentStore& args) {
    CheckArgCount(args.Count(), 0);
    WriteIniFile();
    return Undefined();
}
