#include "app/panels/DirectoryTree.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelFormat.h"
#include "app/panels/PanelTree.h"
#include "app/panels/TreeSet.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

namespace {

const int SearchLimit = 20;

// The chooser over one tree: its lines live in a private panel that no
// other part of the program sees.
class CTreeChooser {
public:
    CTreeChooser(CPanel* panel, CTree* tree, int mode) : panel(panel), tree(tree), mode(mode), height(ScreenRows - 10) {
        if (height < 1)
            height = 1;
        lines.viewStyle = mode == TreeChooserPicker ? VIEW_TREE_CHOOSER : VIEW_TREE;
        lines.isOn = 1;
        lines.linesInView = height;
        ShowTreeInPanel(&lines, tree, tree->FindNode(Westring(panel->path), true), height);
    }

    // 0 with the chosen path, or -1.
    int Run(Westring& path) {
        const uint8_t menu = ColourOf(ColourMenu);
        Win window(0, 2, ScreenColumns - 1, 2 + height + 3, menu, menu, 1);
        this->window = &window;
        window.WriteCentred(-1, " Directory Tree ", menu);
        CModalLoop loop;
        for (;;) {
            Draw();
            TInputEvent event = TInputEvent();
            int key = loop.Read(event, -1);
            if (key == KEY_ESC || key == KEY_CLOSED)
                return -1;
            if (key == KEY_ENTER) {
                path = GetTreeLinePath(&lines, lines.CursorIndex());
                return path.IsEmpty() ? -1 : 0;
            }
            if (key == KEY_CTRL_R) {
                if (!Rescan())
                    return -1;
                continue;
            }
            if (key == KEY_MOUSE) {
                if (Mouse(event)) {
                    path = GetTreeLinePath(&lines, lines.CursorIndex());
                    return path.IsEmpty() ? -1 : 0;
                }
                continue;
            }
            HandleKey(key);
        }
    }

private:
    TREENODE* CursorNode() const {
        entry* line = lines.CursorEntry();
        return line ? line->treeNode : nullptr;
    }

    void MoveTo(int index) {
        if (lines.entryCount == 0)
            return;
        if (index < 0)
            index = 0;
        if (index >= lines.entryCount)
            index = lines.entryCount - 1;
        if (index < lines.topIndex)
            lines.topIndex = index;
        else if (index >= lines.topIndex + height)
            lines.topIndex = index - height + 1;
        lines.cursorRow = index - lines.topIndex;
    }

    // The lines built again with the cursor on the node (ancestors expanded).
    void Rebuild(TREENODE* node) {
        if (node)
            for (TREENODE* up = node->parent; up; up = up->parent)
                up->expanded = 1;
        int row = lines.cursorRow;
        FlattenTree(&lines, tree);
        for (int i = 0; i < lines.entryCount; i++)
            if (lines.entries[i]->treeNode == node) {
                // Keep the cursor on its row where the list allows.
                lines.topIndex = i - row;
                if (lines.topIndex + height > lines.entryCount)
                    lines.topIndex = lines.entryCount - height;
                if (lines.topIndex < 0)
                    lines.topIndex = 0;
                lines.cursorRow = 0;
                MoveTo(i);
                return;
            }
        MoveTo(0);
    }

    // The same depth the given way, passing deeper lines, stopping at a
    // shallower one.
    void MoveToSibling(int step) {
        int from = lines.CursorIndex();
        if (from < 0 || from >= lines.entryCount)
            return;
        int depth = lines.entries[from]->sizeFromTree;
        for (int i = from + step; i >= 0 && i < lines.entryCount; i += step) {
            int d = lines.entries[i]->sizeFromTree;
            if (d < depth)
                return;
            if (d == depth) {
                MoveTo(i);
                return;
            }
        }
    }

    bool Rescan() {
        if (panel->archive)
            return true;
        if (!tree->Rescan() || !tree->root)
            return false;
        ShowTreeInPanel(&lines, tree, tree->FindNode(Westring(panel->path), true), height);
        return true;
    }

    // A search text that leads somewhere: the cursor goes there.
    bool Search(const Westring& text, TREENODE* from) {
        TREENODE* found = FindNextNodeByPrefix(tree->root, from, text);
        if (!found)
            return false;
        Rebuild(found);
        return true;
    }

    void HandleKey(int key) {
        int index = lines.CursorIndex();
        switch (key) {
        case KEY_UP: MoveTo(index - 1); return;
        case KEY_DOWN: MoveTo(index + 1); return;
        case KEY_PGUP: MoveTo(index - height); return;
        case KEY_PGDN: MoveTo(index + height); return;
        case KEY_HOME: MoveTo(0); return;
        case KEY_END: MoveTo(lines.entryCount - 1); return;
        case KEY_ALT_UP: MoveToSibling(-1); return;
        case KEY_ALT_DOWN: MoveToSibling(1); return;
        case KEY_BACKSPACE:
            if (!search.IsEmpty())
                search = search.Left(search.Length() - 1);
            return;
        default: break;
        }
        TREENODE* node = CursorNode();
        if (key == KEY_GREY_PLUS || key == KEY_GREY_MINUS || key == KEY_CTRL_GREY_PLUS || key == KEY_CTRL_GREY_MINUS) {
            if (!node)
                return;
            bool expand = key == KEY_GREY_PLUS || key == KEY_CTRL_GREY_PLUS;
            if (key == KEY_CTRL_GREY_PLUS || key == KEY_CTRL_GREY_MINUS)
                SetExpandedRecursive(node, expand);
            else
                node->expanded = expand || node->depth == 0 ? 1 : 0;
            Rebuild(node);
            return;
        }
        if (key == KEY_CTRL_J) {
            // The next match after the cursor's line, from the first after the last.
            if (search.IsEmpty() || !node)
                return;
            TREENODE* next = node->NextInPreOrder(nullptr);
            Search(search, next ? next : tree->root);
            return;
        }
        if (key >= 32 && key <= KEY_LAST_CHARACTER) {
            if (search.Length() >= SearchLimit)
                return;
            Westring longer = search;
            longer.AppendChar(char32_t(key));
            if (Search(longer, node ? node : tree->root))
                search = longer;
        }
    }

    // A click puts the cursor on the line under it; true for a double click
    // on a line (chosen as with Enter).
    bool Mouse(const TInputEvent& event) {
        int x = event.x, y = event.y;
        if (!window->ScreenToClient(x, y) || y < 0 || y >= height)
            return false;
        int index = lines.topIndex + y;
        if (index >= lines.entryCount)
            return false;
        if (event.action == TInputEvent::ActionPress1 || event.action == TInputEvent::ActionRelease1) {
            MoveTo(index);
        } else if (event.action == TInputEvent::ActionDouble1) {
            MoveTo(index);
            return true;
        } else if (event.action == TInputEvent::ActionWheel) {
            MoveTo(lines.CursorIndex() - event.button);
        }
        return false;
    }

    void Draw() {
        const uint8_t menu = ColourOf(ColourMenu);
        const uint8_t cursor = ColourOf(ColourCommandLine);
        int width = window->ClientWidth();
        for (int row = 0; row < height; row++) {
            int index = lines.topIndex + row;
            CellString cells;
            cells.SetDefaultAttribute(menu);
            if (index < lines.entryCount) {
                bool current = index == lines.CursorIndex();
                cells = FormatEntryInStyle(&lines, index, current ? cursor : menu, NoNameScroll, lines.viewStyle);
            }
            window->WriteAttrString(0, row, cells.Pad(width));
        }
        CellString rule;
        for (int i = 0; i < width; i++)
            rule += TCell{BoxSingleHorizontal, menu};
        window->WriteAttrString(0, height, rule);
        window->GotoXY(0, height + 1);
        window->ClearToEol(menu);
        window->WriteText(1, height + 1, "Search:", menu);
        window->WriteWide(9, height + 1, search, cursor);
        if (mode == TreeChooserPicker)
            window->WriteText(39, height + 1, "Ctrl-Enter for next match", menu);
    }

    CPanel* panel;
    CTree* tree;
    int mode;
    int height;
    CPanel lines;
    Westring search;
    Win* window = nullptr;
};

}  // namespace

int DirectoryTreeDialog(CPanel* panel, Westring& path, int mode) {
    if (!panel->tree)
        SetPanelTree(&panel->tree, TreeSet.GetPanelTree(panel));
    CTree* tree = panel->tree;
    if (!tree)
        return -1;
    if (!tree->root && (!tree->Rescan() || !tree->root))
        return -1;
    if (!tree->loaded && !tree->isPrivate) {
        tree->loaded = 1;
        tree->Save();
    }
    CTreeChooser chooser(panel, tree, mode);
    return chooser.Run(path);
}
