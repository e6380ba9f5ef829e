#include "ui/FunctionKeyBar.h"

#include "app/settings/Colours.h"
#include "console/Console.h"
#include "console/InputEvent.h"

const char* const FunctionKeyLabels[8][10] = {
    {"1Help", "2Menu", "3View", "4Edit", "5Copy", "6RenMov", "7Mkdir", "8Delete", "9PullDn", "10Quit"},
    {"1Left", "2Right", "3View..", "4Edit..", "5DStore", "6Object", "7Find", "8Histry", "9EGA Ln", "10Tree"},
    {"1Left", "2Right", "3Name", "4Exten", "5Time", "6Size", "7Unsort", "8Revers", "9", "10"},
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
    {"1Manual", "2MnMenu", "3View..", "4Edit..", "5Copy", "6Rename", "7MkArch", "8DelOne", "9SavSet", "10MenuRe"},
    {"1Brief", "2Full", "3Wide", "4BriefW", "5", "6", "7FindRC", "8DirHst", "9ColChg", "10"},
    {"1LWide", "2RWide", "3View..", "4Edit..", "5SymLnk", "6", "7", "8", "9Sync", "10"},
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
};

CFunctionKeyBar* FunctionKeyBar = nullptr;

namespace {

int ScreenColumns() {
    int columns = 80, rows = 25;
    Console->GetScreenSize(columns, rows);
    return columns;
}

int ScreenRows() {
    int columns = 80, rows = 25;
    Console->GetScreenSize(columns, rows);
    return rows;
}

}  // namespace

CFunctionKeyBar::CFunctionKeyBar() : Win(0, ScreenRows() - 1, ScreenColumns() - 1, ScreenRows() - 1, -1, -1, 0) {}

void CFunctionKeyBar::SetLabels(const char* const* labels) {
    int columns = ScreenColumns();
    int width = columns / 10;
    uint8_t barColour = ColourOf(ColourMenuBar);
    uint8_t keyColour = ColourOf(ColourCommandLine);
    CellString row;
    row.SetDefaultAttribute(barColour);
    for (int i = 0; i < 10 * width; i++) {
        row.AppendChar(' ');
    }
    TCell* cells = row.Data();
    // The key numbers and the blank before them stand out from the labels.
    for (int k = 0; k < 10; k++) {
        int first = k == 0 ? 0 : k * width - 1;
        int last = k == 9 ? k * width + 1 : k * width;
        for (int cell = first; cell <= last && cell < row.Length(); cell++) {
            cells[cell].attribute = keyColour;
        }
        const char* label = labels[k];
        for (int i = 0; label[i] != 0 && k * width + i < row.Length(); i++) {
            cells[k * width + i].character = static_cast<unsigned char>(label[i]);
        }
    }
    WriteAttrString(0, 0, row);
}

void CFunctionKeyBar::SetLabelsForShift(int shiftState) {
    SetLabels(FunctionKeyLabels[shiftState & 7]);
}

void DeleteFunctionKeyBar() {
    delete FunctionKeyBar;
    FunctionKeyBar = nullptr;
}

void RecreateFunctionKeyBar(int shiftState) {
    DeleteFunctionKeyBar();
    FunctionKeyBar = new CFunctionKeyBar;
    FunctionKeyBar->SetLabelsForShift(shiftState);
}

int FunctionKeyFromBarSlot(int x, int columns, int action, int shiftState) {
    int width = columns / 10;
    int slot = width > 0 ? (x + 1) / width : 0;
    if (slot > 9) {
        slot = 9;
    }
    if (action == TInputEvent::ActionPress2 || action == TInputEvent::ActionRelease2 || (shiftState & SHIFT_ALT) != 0) {
        return KEY_ALT_F1 + slot;
    }
    if ((shiftState & SHIFT_SHIFT) != 0) {
        return KEY_SHIFT_F1 + slot;
    }
    if ((shiftState & SHIFT_CTRL) != 0) {
        return KEY_CTRL_F1 + slot;
    }
    return KEY_F1 + slot;
}
