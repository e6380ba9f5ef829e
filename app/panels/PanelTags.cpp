#include "app/panels/PanelTags.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"

int PanelSetEntryTag(CPanel* panel, entry* item, int mode) {
    if (panel->panelType != PANEL_FILES || panel->viewStyle == VIEW_TREE || item->sortClass == SORTCLASS_PARENT) {
        return 0;
    }
    bool tag = mode > 0 || (mode == 0 && !item->tagged);
    if (tag && !item->tagged) {
        item->tagged = 1;
        panel->taggedCount++;
        panel->taggedBytes += static_cast<int64_t>(item->size);
        return 1;
    }
    if (!tag && item->tagged) {
        item->tagged = 0;
        panel->taggedCount--;
        panel->taggedBytes -= static_cast<int64_t>(item->size);
        return -1;
    }
    return 0;
}

void PanelTagEntry(CPanel* panel, int index, int mode) {
    if (index < 0 || index >= panel->entryCount) {
        return;
    }
    if (PanelSetEntryTag(panel, panel->entries[index], mode) == 0) {
        return;
    }
    int row = index - panel->topIndex;
    if (row >= 0 && row < panel->linesInView) {
        TPanelSlot slot = GetPanelColumnPosition(row, panel->viewStyle);
        DrawPanelEntryLine(slot.x, slot.row, panel, index, 0, NoNameScroll);
        DrawPanelStatusLine(panel);
    }
}

void PanelApplyTagChanges(CPanel* panel) {
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (item->processed) {
            item->processed = 0;
            PanelSetEntryTag(panel, item, 1);
        }
    }
    RedrawPanel(panel);
}
