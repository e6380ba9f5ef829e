// The text of panel lines: column layouts, entry lines, the status row text,
// rule lines and the scroll-bar thumb. Nothing here touches the screen, so the
// exact cells of every view style can be checked without a console.
#include "app/panels/PanelFormat.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "base/os/PathDisplay.h"
#include "base/strings/NumberFormat.h"
#include "base/mask/MaskExpression.h"
#include "base/strings/DateText.h"
#include "base/strings/Str32.h"
#include "console/ScreenSize.h"
#include "app/settings/Association.h"

TPanelColumn PanelLayouts[PanelLayoutCount][PanelLayoutColumns] = {
    {{12, 256, 12}, {12, 256, 12}, {12, 256, 12}, {-1, 0, 0}, {-1, 0, 0}},
    {{12, 256, 12}, {7, 10, 7}, {8, 8, 8}, {6, 6, 6}, {-1, 0, 0}},
    {{8, 10, 8}, {29, 256, 29}, {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}},
    {{12, 256, 12}, {12, 256, 12}, {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}},
};

namespace {

const int FullSizeColumn = 1;
const int FullDateColumn = 2;
const int FullTimeColumn = 3;

int ColumnCount(int style) {
    int n = 0;
    while (n < PanelLayoutColumns && PanelLayouts[style][n].minimum >= 0)
        n++;
    return n;
}

int ShortDateWidth() {
    TLocalDateTime date = {};
    date.year = 1999;
    date.month = 12;
    date.day = 31;
    return FormatDate(date.day, date.month, date.year).Length();
}

bool HasAttribute(const entry* item, uint16_t bits) {
    return (item->attributes & bits) != 0;
}

bool IsDirectory(const entry* item) {
    return HasAttribute(item, FILE_ATTRIBUTE_DIRECTORY);
}

bool IsParentName(const char32_t* name) {
    return name[0] == '.' && name[1] == '.' && name[2] == 0;
}

uint8_t Combine(uint8_t background, uint8_t foreground) {
    return uint8_t((background & 0xF0) | (foreground & 0x0F));
}

// The colour the rules give an entry: "Tagged" for a tagged one, else the
// directory or file colour with the first matching colour rule applied.
uint8_t RuleColour(CPanel* panel, const entry* item) {
    if (item->tagged)
        return ColourOf(ColourTagged);
    bool directory = IsDirectory(item);
    uint8_t colour = ColourOf(directory ? ColourDirectories : ColourPanel);
    AssociationSet& rules = directory ? DirectoryColourRules : FileColourRules;
    if (rules.Count() == 0)
        return colour;
    Westring folder = GetPanelDirectory(panel);
    MaskExpression mask;
    for (int i = 0; i < rules.Count(); i++) {
        const Association* rule = rules.At(i);
        if (mask.Match(rule->mask, folder, item) == 1)
            return uint8_t(ParseColourSpec(rule->command.ToLatin1(), colour));
    }
    return colour;
}

void AppendAscii(CellString& cells, const char* text, uint8_t colour) {
    for (; *text; text++)
        cells += TCell{char32_t(uint8_t(*text)), colour};
}

void AppendRepeat(CellString& cells, char32_t character, int n, uint8_t colour) {
    for (int i = 0; i < n; i++)
        cells += TCell{character, colour};
}

// Right-aligns text in a field of `width` cells.
void AppendRightAligned(CellString& cells, const char32_t* text, int width, uint8_t colour) {
    int length = Str32Length(text);
    if (length > width) {
        cells.AppendText(text, colour, length);
        return;
    }
    AppendRepeat(cells, ' ', width - length, colour);
    cells.AppendText(text, colour, length);
}

void AppendSeparator(CellString& cells, uint8_t colour) {
    cells += TCell{BoxSingleVertical, Combine(colour, ColourOf(ColourPanel))};
}

// The name field of an entry line: the name (and a link's target), scrolled,
// cut or padded to the field, then the marker.
CellString NameField(CPanel* panel, const entry* item, uint8_t colour, int field, int scrollOffset) {
    CellString name;
    name.SetDefaultAttribute(colour);
    name.AppendText(item->name, colour, -1);
    bool reparse = HasAttribute(item, FILE_ATTRIBUTE_REPARSE_POINT);
    if (reparse) {
        name += TCell{' ', colour};
        name += TCell{LinkArrow, Combine(colour, ColourOf(ColourTagged))};
        name += TCell{' ', colour};
        name += GetEntryLinkTarget(panel, item);
    }
    char32_t marker = 0;
    if (reparse && !IsDirectory(item))
        marker = '@';
    else if (HasAttribute(item, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        marker = LightShade;
    if (marker)
        field--;
    if (field < 0)
        field = 0;
    if (scrollOffset > 0) {
        while (scrollOffset > 0 && name.Length() - scrollOffset < field)
            scrollOffset--;
        panel->nameScrollOffset = scrollOffset;
        name = name.Mid(scrollOffset, -1);
    }
    CellString out = TruncateEntryCells(name, field, Config.KeepExtVisible != 0 && !reparse);
    if (marker)
        out += TCell{marker, colour};
    return out;
}

// The size column of a directory: its kind between the two triangles, with
// blanks inside them in a wide column. A column too narrow for all of it
// loses the blanks first, then the triangles, so the line keeps its width.
void DirectorySizeText(const entry* item, int width, char32_t* out) {
    bool parent = IsParentName(item->name);
    bool link = !parent && HasAttribute(item, FILE_ATTRIBUTE_REPARSE_POINT);
    const char* word = parent ? "UP-DIR" : link ? "LINK" : "SUBDIR";
    int length = int(strlen(word));
    // " LINK " carries a blank inside each end of its own.
    int inner = link ? (width >= 10 ? 2 : 1) : (width >= 10 ? 1 : 0);
    while (inner > 0 && length + 2 + 2 * inner > width)
        inner--;
    bool marks = length + 2 + 2 * inner <= width;
    int n = 0;
    if (marks)
        out[n++] = CutMarker;
    for (int i = 0; i < inner; i++)
        out[n++] = ' ';
    for (const char* p = word; *p; p++)
        out[n++] = char32_t(*p);
    for (int i = 0; i < inner; i++)
        out[n++] = ' ';
    if (marks)
        out[n++] = DirSizeEnd;
    out[n] = 0;
}

// The size column of the full and wide lines.
void SizeText(const entry* item, int width, char32_t* out) {
    out[0] = 0;
    if (IsDirectory(item) && !item->sizeFromTree) {
        DirectorySizeText(item, width, out);
        return;
    }
    int64_t size = int64_t(item->size);
    if (size < 0)
        return;
    if (Config.ThousandSep) {
        FormatNumberToWidth64(size, out, width);
        return;
    }
    // Fewer digits than the column: the exact size; else K, else M.
    uint64_t limit = 1;
    for (int i = 0; i < width && limit < 10000000000ULL; i++)
        limit *= 10;
    if (width >= 10)
        limit = 4294967295ULL;
    char text[NumberTextSize];
    if (uint64_t(size) < limit)
        snprintf(text, sizeof text, "%llu", (unsigned long long)size);
    else if (uint64_t(size) / 1024 < limit / 10)
        snprintf(text, sizeof text, "%lluK", (unsigned long long)(size / 1024));
    else
        snprintf(text, sizeof text, "%lluM", (unsigned long long)(size / 1048576));
    int i = 0;
    for (; text[i]; i++)
        out[i] = char32_t(text[i]);
    out[i] = 0;
}

void AppendDateAndTime(CellString& cells, const entry* item, uint8_t colour) {
    int dateWidth = PanelLayouts[VIEW_FULL][FullDateColumn].current;
    int timeWidth = PanelLayouts[VIEW_FULL][FullTimeColumn].current;
    if (item->time.seconds == 0xFFFFFFFFu && item->time.nanoseconds == 0xFFFFFFFFu) {
        AppendRepeat(cells, ' ', dateWidth, colour);
        AppendSeparator(cells, colour);
        AppendRepeat(cells, ' ', timeWidth, colour);
        return;
    }
    TLocalDateTime local;
    item->time.ToLocalDateTime(local);
    Estring date = FormatShortDate(local);
    CellString dateCells(Westring(date).Data(), colour);
    cells += dateCells.Pad(dateWidth);
    AppendSeparator(cells, colour);
    char time[16];
    if (Config.TimeMode == 12) {
        int hour = local.hour % 12;
        snprintf(time, sizeof time, "%2d:%02d%c", hour == 0 ? 12 : hour, local.minute, local.hour < 12 ? 'a' : 'p');
    } else {
        snprintf(time, sizeof time, "%3d:%02d", local.hour, local.minute);
    }
    CellString timeCells(time, colour);
    cells += timeCells.Pad(timeWidth);
}

// A tree-view line: one pair of cells per level before the name.
void AppendTreePrefix(CellString& cells, const entry* item, uint8_t colour) {
    int depth = item->sizeFromTree;
    if (depth <= 0)
        return;
    uint64_t levels = item->size;
    for (int level = 0; level <= depth - 2; level++) {
        cells += TCell{(levels >> level) & 1 ? BoxSingleVertical : char32_t(' '), colour};
        cells += TCell{' ', colour};
    }
    bool continues = (levels >> (depth - 1)) & 1;
    cells += TCell{continues ? TreeBranch : TreeLastBranch, colour};
    // "+" marks a node whose children are folded away.
    const TREENODE* node = item->treeNode;
    bool folded = node && !node->expanded && node->firstChild;
    cells += TCell{folded ? char32_t('+') : BoxSingleHorizontal, colour};
}

}  // namespace

void LayoutPanelColumns(int width) {
    int dateWidth = ShortDateWidth();
    PanelLayouts[VIEW_FULL][FullDateColumn].minimum = dateWidth;
    PanelLayouts[VIEW_FULL][FullDateColumn].maximum = dateWidth;
    int inner = width - 2;
    for (int style = 0; style < PanelLayoutCount; style++) {
        TPanelColumn* columns = PanelLayouts[style];
        int count = ColumnCount(style);
        int spare = inner - (count - 1);
        for (int c = 0; c < count; c++) {
            columns[c].current = columns[c].minimum;
            spare -= columns[c].minimum;
        }
        while (spare > 0 && inner > 0) {
            int atStart = spare;
            int given = 0;
            for (int c = 0; c < count && spare > 0; c++) {
                int share = int((int64_t(columns[c].current) * atStart + inner - 1) / inner);
                int room = columns[c].maximum - columns[c].current;
                int add = share < spare ? share : spare;
                if (add > room)
                    add = room;
                columns[c].current += add;
                spare -= add;
                given += add;
            }
            if (given == 0)
                break;
        }
    }
}

TPanelSlot GetPanelColumnPosition(int slot, int style) {
    TPanelSlot out = {0, slot, 0};
    int height = Config.PanelHeight > 0 ? Config.PanelHeight : 1;
    switch (style) {
    case VIEW_BRIEF:
    case VIEW_BRIEFWIDE: {
        int column = slot / height;
        out.row = slot % height;
        for (int c = 0; c < column; c++)
            out.x += PanelLayouts[style][c].current + 1;
        out.nameWidth = PanelLayouts[style][column < ColumnCount(style) ? column : 0].current;
        break;
    }
    case VIEW_FULL: out.nameWidth = PanelLayouts[VIEW_FULL][0].current; break;
    case VIEW_WIDE: out.nameWidth = PanelLayouts[VIEW_WIDE][1].current; break;
    default: out.nameWidth = ScreenColumns / 2 - 2; break;
    }
    return out;
}

CellString TruncateEntryCells(const CellString& name, int field, bool keepExtension) {
    if (field <= 0)
        return CellString();
    if (name.Length() <= field)
        return name.Pad(field);
    int dot = name.FindLast('.');
    int extension = dot >= 0 ? name.Length() - dot : 0;
    CellString out;
    out.SetDefaultAttribute(name.DefaultAttribute());
    if (keepExtension && dot >= 0 && extension <= field / 2) {
        out = name.Left(field - extension);
        out += name.Mid(dot, -1);
        out.Data()[field - extension - 1].character = CutMarker;
        return out;
    }
    out = name.Left(field);
    out.Data()[field - 1].character = CutMarker;
    return out;
}

Westring TruncateEntryName(const Westring& name, int width, bool keepExtension) {
    CellString cells(name.Data(), CellString::InitialAttribute);
    CellString cut = TruncateEntryCells(cells, width, keepExtension);
    Westring out;
    for (int i = 0; i < cut.Length(); i++)
        out.AppendChar(cut.Data()[i].character);
    return out;
}

CellString FormatEntryInStyle(CPanel* panel, int index, uint8_t colour, int scrollOffset, int style) {
    const entry* item = panel->entries[index];
    if (colour == 0)
        colour = RuleColour(panel, item);
    CellString line;
    line.SetDefaultAttribute(colour);
    TPanelSlot slot = GetPanelColumnPosition(0, style == VIEW_TREE_CHOOSER ? VIEW_TREE : style);
    int field = slot.nameWidth;
    if (style == VIEW_TREE || style == VIEW_TREE_CHOOSER) {
        int width = style == VIEW_TREE_CHOOSER ? 70 : slot.nameWidth;
        AppendTreePrefix(line, item, colour);
        line += NameField(panel, item, colour, width - 2 * item->sizeFromTree, scrollOffset);
        return line.Left(width);
    }
    CellString name = NameField(panel, item, colour, field, scrollOffset);
    if (style != VIEW_FULL && style != VIEW_WIDE) {
        return name;
    }
    char32_t size[NumberTextSize];
    int sizeWidth = PanelLayouts[style][style == VIEW_FULL ? FullSizeColumn : 0].current;
    SizeText(item, sizeWidth, size);
    if (style == VIEW_WIDE) {
        AppendRightAligned(line, size, sizeWidth, colour);
        AppendSeparator(line, colour);
        line += name;
    } else {
        line += name;
        AppendSeparator(line, colour);
        AppendRightAligned(line, size, sizeWidth, colour);
        AppendSeparator(line, colour);
        AppendDateAndTime(line, item, colour);
    }
    // Whatever a column holds, the line never reaches into the frame.
    int inner = GetPanelWidth(panel) - 2;
    return line.Length() > inner ? line.Left(inner) : line;
}

CellString FormatPanelEntry(CPanel* panel, int index, uint8_t colour, int scrollOffset) {
    return FormatEntryInStyle(panel, index, colour, scrollOffset, panel->viewStyle);
}

Westring GetEntryLinkTarget(CPanel* panel, const entry* item) {
    // Links inside archives carry their targets with the archive's entries,
    // and the archive listing hands out none: no target is shown.
    if (panel->archive)
        return Westring();
    Westring full = AddTrailingBackslash(Westring(panel->path)) + Westring(item->name);
    return LookupLinkTarget(panel->linkTargets, full);
}

void BuildColumnRuleLine(int style, int widthKind, CellString& line, char32_t fill, char32_t junction, char32_t leftEnd,
                         char32_t rightEnd) {
    int width = widthKind == WIDTH_FULL ? ScreenColumns : ScreenColumns / 2;
    if (fill) {
        uint8_t attribute = line.DefaultAttribute();
        line = CellString();
        line.SetDefaultAttribute(attribute);
        for (int i = 0; i < width; i++)
            line.AppendChar(fill);
    }
    if (line.Length() < width)
        line = line.Pad(width);
    TCell* cells = line.Data();
    if (style >= 0 && style < PanelLayoutCount) {
        int count = ColumnCount(style);
        int position = leftEnd ? 1 : 0;
        for (int c = 0; c + 1 < count && c < 4; c++) {
            position += PanelLayouts[style][c].current;
            if (position < width) {
                bool crossing = cells[position].character == BoxSingleUpTee && junction == BoxSingleDownTee;
                cells[position].character = crossing ? BoxSingleCross : junction;
            }
            position++;
        }
    }
    if (leftEnd)
        cells[0].character = leftEnd;
    if (rightEnd) {
        int at = leftEnd ? width - 1 : width - 2;
        if (at >= 0 && at < width)
            cells[at].character = rightEnd;
    }
}

CellString BuildPanelStatusText(CPanel* panel, bool& drawnInFullStyle) {
    drawnInFullStyle = false;
    int width = GetPanelWidth(panel) - 2;
    uint8_t tagged = ColourOf(ColourTagged);
    uint8_t normal = ColourOf(ColourPanel);
    CellString line;
    if (panel->driveError) {
        line = CellString(panel->driveError == ERROR_NOT_READY ? " No disk in drive" : " Error reading drive", tagged);
        return line.Pad(width);
    }
    if (panel->searchText[0]) {
        Westring label(U"Search: ");
        Westring search(panel->searchText);
        int room = width - label.Length();
        if (search.Length() > room)
            search = search.Right(room > 0 ? room : 0);
        Westring text = label + search;
        line = CellString(text.Data(), tagged);
        return line.Pad(width);
    }
    if (panel->taggedCount > 0) {
        char rest[64];
        snprintf(rest, sizeof rest, " bytes in %d selected file%s", panel->taggedCount,
                 panel->taggedCount > 1 ? "s" : "");
        int restLength = int(strlen(rest));
        char32_t bytes[NumberTextSize];
        FormatNumberToWidth64(panel->taggedBytes, bytes, GetPanelWidth(panel) - 4 - restLength);
        CellString text(bytes, tagged);
        AppendAscii(text, rest, tagged);
        int field = text.Length() + (width - text.Length()) / 2;
        CellString centred;
        centred.SetDefaultAttribute(tagged);
        AppendRepeat(centred, ' ', field - text.Length(), tagged);
        centred += text;
        return centred.Pad(width);
    }
    line.SetDefaultAttribute(normal);
    entry* item = panel->CursorEntry();
    if (!item) {
        line = CellString("Directory is empty", normal);
        return line.Pad(width);
    }
    if (panel->viewStyle == VIEW_FULL) {
        line = CellString(item->name, normal);
        if (item->attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            line += TCell{' ', normal};
            line += TCell{LinkArrow, tagged};
            line += TCell{' ', normal};
            line += GetEntryLinkTarget(panel, item);
        }
        return line.Pad(width);
    }
    if (panel->viewStyle == VIEW_TREE) {
        Westring path = GetTreeLinePath(panel, panel->CursorIndex());
        ShortenPathForDisplay(path, width);
        line = CellString(path.Data(), normal);
        return line.Pad(width);
    }
    drawnInFullStyle = true;
    return FormatEntryInStyle(panel, panel->CursorIndex(), normal, NoNameScroll, VIEW_FULL).Pad(width);
}

TScrollThumb ComputeScrollThumb(int count, int topIndex, int linesInView, int height) {
    TScrollThumb thumb = {0, 0};
    if (count <= 0 || height <= 0 || float(linesInView) / float(count) >= 1.0f)
        return thumb;
    float n = float(count);
    int length = int(float(linesInView) / n * float(height));
    if (length < 2)
        length = 2;
    if (length > height)
        length = height;
    float a = float(topIndex) / n;
    float b = float(count - topIndex - height) / n;
    int start = b > a ? int(a * float(height)) : height - int(std::ceil(b * float(height))) - length;
    if (start >= height)
        start = height - 1;
    // The thumb never leaves its rows, whatever the view's position says.
    if (start > height - length)
        start = height - length;
    if (start < 0)
        start = 0;
    thumb.start = start;
    thumb.length = length;
    return thumb;
}
