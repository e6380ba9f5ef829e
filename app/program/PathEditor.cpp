#include "app/program/PathEditor.h"

#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "base/strings/SemicolonList.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/ListBox.h"

namespace {

const int EditorWidth = 60;
const int KeyAltA = KeyAltLetter('a');

int EditorHeight() {
    return ScreenRows < 26 ? ScreenRows - 5 : 20;
}

// The help on the bottom frame line, ending just left of its corner.
Westring HelpLine() {
    Westring help(" Insert Delete F4=Edit Alt-A=Append Alt-");
    help.AppendChar(0x2191);
    help.AppendChar(0x2193);
    help += ' ';
    return help;
}

}  // namespace

CPathEditor::CPathEditor(const char* title) : Dialog(-1, -4, EditorWidth, EditorHeight(), ColourOf(ColourMenu)) {
    WriteCentred(-1, title, Attribute());
    const Westring help = HelpLine();
    WriteWide(ClientWidth() - help.Length(), ClientHeight(), help, Attribute());
    list = AddListBoxWestring(0, 0, 1, ClientWidth(), ClientHeight(), lines, &selection, KEY_ENTER);
    for (int key : {KEY_INSERT, KEY_DELETE, KeyAltA, KEY_F4, KEY_ALT_UP, KEY_ALT_DOWN}) {
        AddExitKey(key);
    }
}

bool CPathEditor::Edit(Westring& list) {
    Westring copy = list;
    lines.FreeAll();
    SplitSemicolonList(copy, lines);
    selection = 0;
    Refresh();
    if (RunLoop() != KEY_ENTER) {
        return false;
    }
    list = JoinSemicolonList(lines);
    return true;
}

void CPathEditor::Refresh() {
    const int count = lines.Count();
    int wanted = selection >= count ? count - 1 : selection;
    if (wanted < 0 && count > 0) {
        wanted = 0;
    }
    // Each event ends with the list taking its own cursor as the selection:
    // the line chosen here is put back after them, and the drawing follows it.
    TDialogEvent event = {};
    event.kind = TDialogEvent::KindListCount;
    event.key = count;
    SendEvent(list, event);
    event.kind = TDialogEvent::KindListRedraw;
    SendEvent(list, event);
    selection = wanted;
    DrawElement(list);
}

void CPathEditor::SelectedLinePosition(int& x, int& y, int& width) const {
    const ListBoxBase* box = static_cast<const ListBoxBase*>(Element(list));
    x = OriginX() + box->X();
    y = OriginY() + box->Y() + (selection - box->Top());
    width = box->Width();
}

void CPathEditor::EditSelected() {
    if (selection < 0 || selection >= lines.Count()) {
        return;
    }
    Refresh();
    EditPathEntry(*this, *lines.At(selection));
    Refresh();
}

void CPathEditor::InsertAndEdit(int at) {
    lines.InsertAt(new Westring(), at);
    selection = at;
    Refresh();
    EditSelected();
}

int CPathEditor::RunLoop() {
    for (;;) {
        const int key = Run();
        const int count = lines.Count();
        const bool any = count > 0 && selection >= 0 && selection < count;
        if (key == KEY_ENTER || key == KEY_ESC) {
            return key;
        }
        if (key == KEY_INSERT) {
            InsertAndEdit(any ? selection : count);
        } else if (key == KeyAltA) {
            InsertAndEdit(any ? selection + 1 : count);
        } else if (key == KEY_F4) {
            EditSelected();
        } else if (key == KEY_DELETE && any) {
            delete lines.RemoveAt(selection);
            Refresh();
        } else if ((key == KEY_ALT_UP || key == KEY_ALT_DOWN) && any) {
            const int other = key == KEY_ALT_UP ? selection - 1 : selection + 1;
            if (other >= 0 && other < count) {
                Westring moved = *lines.At(selection);
                *lines.At(selection) = *lines.At(other);
                *lines.At(other) = moved;
                selection = other;
                Refresh();
            }
        }
    }
}

bool EditPathEntry(CPathEditor& editor, Westring& entry) {
    int x = 0;
    int y = 0;
    int width = 0;
    editor.SelectedLinePosition(x, y, width);
    const Westring old = entry;
    int result;
    {
        // The frame lies over the editor's rows around the line, which it
        // puts back when it closes.
        Dialog field(x - 1, y - 1, x + width, y + 1, ColourOf(ColourMenu));
        field.AddStringField(0, 0, 1, entry, width, -1, FieldKindNoHistory);
        result = field.Run();
    }
    if (result == KEY_ESC) {
        entry = old;
        return false;
    }
    return true;
}
