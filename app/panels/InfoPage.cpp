#include "app/panels/InfoPage.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelFormat.h"
#include "app/panels/PanelWindow.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "base/io/StdFile.h"
#include "base/os/PathDisplay.h"
#include "base/os/SystemError.h"
#include "base/os/Volumes.h"
#include "base/strings/CaseTable.h"
#include "base/strings/CellString.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/NumberFormat.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"
#include "ui/Win.h"

namespace {

const char32_t RuleChar = 0x2500;
// "dirinfo" is read in pieces of this many bytes at most; the rest of a
// longer line shows as a line of its own.
const int DirInfoPiece = 499;

// The page's hidden flag of each side from before the page was put there.
uint8_t RememberedHidden[2];

int HalfWidth() {
    return ScreenColumns / 2 - 2;
}

// The two parts of the number column: numbers end at column NumberEnd() - 1,
// their labels start there.
int NumberDigits() {
    int n = ScreenColumns / 2 - 40;
    n = n > 13 ? 13 : n;
    return n < 0 ? 0 : n;
}

Westring FormatNumber(int64_t value, int width) {
    char32_t text[NumberTextSize];
    FormatNumberToWidth64(value, text, width);
    return Westring(text).LPad(width);
}

// A number right-aligned in the number column, then its label.
void WriteFigure(Win* window, int row, const Westring& figure, const char* label) {
    const int n = NumberDigits();
    const int end = n + 12;
    window->WriteWide(end - figure.Length(), row, figure, ColourOf(ColourTagged));
    window->WriteText(end, row, label, ColourOf(ColourPanel));
}

void WriteNumber(Win* window, int row, int64_t value, const char* label) {
    WriteFigure(window, row, FormatNumber(value, NumberDigits() + 11), label);
}

void WriteCentredWide(Win* window, int row, const Westring& text) {
    window->WriteWideCentred(row, text, ColourOf(ColourPanel));
}

// The line "N files use SPACE bytes in", its figures in the tagged colour,
// centred on the row.
void WriteFileSpaceLine(Win* window, int row, const CPanel* described, uint64_t space) {
    char32_t count[NumberTextSize];
    FormatNumberToWidth64(described->entryCount, count, 11);
    CellString line;
    line.SetDefaultAttribute(ColourOf(ColourPanel));
    line += CellString(Westring(count).Trim().Data(), ColourOf(ColourTagged));
    line += CellString(described->entryCount == 1 ? " file uses " : " files use ", ColourOf(ColourPanel));
    line += CellString(FormatNumber(static_cast<int64_t>(space), 7).Data(), ColourOf(ColourTagged));
    line += CellString(" bytes in", ColourOf(ColourPanel));
    int x = (window->ClientWidth() - line.Length()) / 2;
    window->WriteAttrString(x < 0 ? 0 : x, row, line);
}

void WriteRule(Win* window, int row, int width) {
    window->WriteWide(0, row, RepeatChar32(RuleChar, width), ColourOf(ColourPanel));
}

// The volume lines under the path, indented together so that the longest
// is centred; the row after the last one written.
int WriteFactLines(Win* window, int row, int lastRow, const WestringStore& lines) {
    int longest = 0;
    for (int i = 0; i < lines.Count(); i++) {
        longest = lines.At(i)->Length() > longest ? lines.At(i)->Length() : longest;
    }
    int indent = (window->ClientWidth() - longest) / 2;
    indent = indent < 0 ? 0 : indent;
    for (int i = 0; i < lines.Count() && row <= lastRow; i++, row++) {
        window->WriteWide(indent, row, *lines.At(i), ColourOf(ColourPanel));
    }
    return row;
}

void AddFact(WestringStore& lines, const char* label, const Westring& value) {
    lines.Add(new Westring(Westring(label) + value));
}

}  // namespace

uint64_t InfoPageFileSpace(const CPanel* panel, uint64_t clusterSize) {
    uint64_t space = 0;
    for (int i = 0; i < panel->entryCount; i++) {
        const entry* item = panel->entries[i];
        if ((item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const uint64_t size = static_cast<uint64_t>(item->size);
        if (clusterSize == 0) {
            space += size;
        } else if (size == 0) {
            space += clusterSize;
        } else {
            space += (size + clusterSize - 1) / clusterSize * clusterSize;
        }
    }
    return space;
}

Estring InfoPageCompressionText(int64_t unpacked, int64_t packed) {
    Estring text;
    if (unpacked == 0) {
        text = "0%";
        return text;
    }
    // In long double: the difference times 1000 can leave the 64 bits.
    long double saved = (static_cast<long double>(unpacked) - static_cast<long double>(packed)) * 1000.0L /
                        static_cast<long double>(unpacked);
    int64_t tenths = static_cast<int64_t>(saved);
    text.Format("%.1f%%", static_cast<double>(tenths) / 10.0);
    return text;
}

void ShowDirInfo(Win* window, const Westring& directory, int row) {
    StdFile file;
    if (file.Open(AddTrailingBackslash(directory) + Westring("dirinfo"), StdFile::ModeRead) != 0) {
        return;
    }
    window->WriteCentred(row, " Dir Info ", ColourOf(ColourTagged));
    const int width = window->ClientWidth() - 3;
    const int tab = Config.TabWidth > 0 ? Config.TabWidth : 8;
    char piece[DirInfoPiece + 1];
    for (row++; row < window->ClientHeight() - 1; row++) {
        if (file.ReadLine(piece, sizeof piece) != 0) {
            break;
        }
        Estring expanded = ExpandTabs(piece, tab);
        Westring line(expanded.Data(), ConsoleOutputCodePage);
        window->WriteWide(1, row, line.Left(width < 0 ? 0 : width), ColourOf(ColourPanel));
    }
}

void FillInfoPanel(int side) {
    CPanel* panel = &Panels[side];
    Win* window = panel->window;
    if (window == nullptr || !panel->isOn || window->IsHidden() || panel->panelType != PANEL_INFO) {
        return;
    }
    const CPanel* described = &Panels[1 - side];
    const int w = HalfWidth();
    const int lastRow = window->ClientHeight() - 1;
    window->Clear();
    // The side frame, where a file list's separator row put its tees.
    Westring frame;
    frame.AppendChar(BoxDoubleVertical);
    for (int row = 0; row <= lastRow; row++) {
        window->WriteWide(-1, row, frame, ColourOf(ColourPanel));
        window->WriteWide(window->ClientWidth(), row, frame, ColourOf(ColourPanel));
    }
    window->WriteCentred(0, "Quorvane file manager 64 bit", ColourOf(ColourPanel));
    window->WriteCentred(1, "Two panels, one keyboard", ColourOf(ColourPanel));
    WriteRule(window, 4, w);
    if (described->driveError != 0) {
        window->WriteWrapped(0, 7, FormatSystemError(static_cast<DWORD>(described->driveError)));
        return;
    }
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    WriteNumber(window, 5, static_cast<int64_t>(memory.ullTotalPhys), " total physical memory");
    WriteNumber(window, 6, static_cast<int64_t>(memory.ullAvailPhys), " free physical memory");

    const Westring directory = GetPanelDirectory(described);
    WestringStore facts;
    int pathRow;
    if (described->archive == nullptr) {
        uint64_t total = 0;
        uint64_t free = 0;
        uint64_t cluster = 0;
        if (GetDiskSpace(directory, total, free, cluster) != 0) {
            window->WriteCentred(9, "Cannot read drive", ColourOf(ColourPanel));
            return;
        }
        const char letter = static_cast<char>(ToUpperChar(described->path[0]) & 0x7F);
        Estring label;
        label.Format(" total bytes on drive %c:", letter);
        WriteNumber(window, 8, static_cast<int64_t>(total), label.Data());
        label.Format(" bytes free on drive %c:", letter);
        WriteNumber(window, 9, static_cast<int64_t>(free), label.Data());
        WriteFileSpaceLine(window, 10, described, InfoPageFileSpace(described, cluster));
        pathRow = 11;
        Westring volumeLabel(described->volumeLabel);
        if (!volumeLabel.IsEmpty()) {
            AddFact(facts, "Label       : ", volumeLabel);
        } else if (!described->mountPoint.IsEmpty()) {
            AddFact(facts, "Mount Point : ", described->mountPoint);
        }
        if (described->fileSystemName[0] != 0) {
            AddFact(facts, "File System : ", Westring(described->fileSystemName));
        }
        if (described->volumeSerial != 0) {
            Estring serial;
            serial.Format("Serial No   : %X", static_cast<unsigned>(described->volumeSerial));
            facts.Add(new Westring(serial.Data()));
        }
    } else {
        int64_t unpacked = 0;
        int64_t packed = 0;
        GetArchiveTotals(described->archive, unpacked, packed);
        if (unpacked >= 0) {
            WriteNumber(window, 8, unpacked, " total uncompressed");
            WriteNumber(window, 9, packed, " total compressed");
            WriteFigure(window, 10, Westring(InfoPageCompressionText(unpacked, packed).Data()), " total compression");
            pathRow = 11;
        } else {
            WriteNumber(window, 8, packed, " total compressed");
            pathRow = 9;
        }
        AddFact(facts, "Archive : ", ShortenedPathForDisplay(ExtractFileName(described->archive->filePath), 25));
        AddFact(facts, "Type    : ", Westring(GetArchiveTypeName(described->archive).Data()));
    }
    WriteCentredWide(window, pathRow, ShortenedPathForDisplay(Westring(described->path), w - 2));

    int row = WriteFactLines(window, pathRow + 2, lastRow, facts);
    row++;
    if (described->archive == nullptr) {
        Estring unc = GetDriveUncName(described->path[0]);
        if (!unc.IsEmpty() && row <= lastRow) {
            WriteCentredWide(window, row, Westring(unc.Data()));
            row++;
        }
    }
    if (row <= lastRow) {
        WriteRule(window, row, window->ClientWidth());
        panel->dirInfoRow = row;
        ShowDirInfo(window, directory, row);
    }
}

void ToggleInfoPage(int side) {
    CPanel* given = &Panels[side];
    CPanel* target = &Panels[1 - side];
    const int targetSide = 1 - side;
    if (target->isOn && target->panelType != PANEL_INFO) {
        target->panelType = PANEL_INFO;
        RememberedHidden[targetSide] = 0;
        // Its list is not kept up to date while the page shows: it is read
        // again when the page goes.
        target->needsReread = 1;
        if (target->window) {
            target->window->Clear();
        }
        DrawPanelFrame(Westring(target->path), false, targetSide == 1 && Config.Clock, target);
        FillInfoPanel(targetSide);
        return;
    }
    if (target->isOn) {
        target->panelType = PANEL_FILES;
        if (!RememberedHidden[targetSide] && given->widthKind != WIDTH_FORCEDHALF) {
            if (target->needsReread) {
                ReadPanelDirectory(target);
            }
            DrawPanelFrame(Westring(target->path), false, targetSide == 1 && Config.Clock, target);
            RedrawPanel(target);
            return;
        }
        ClosePanelWindow(target);
        target->startHidden = RememberedHidden[targetSide];
        if (given->widthKind == WIDTH_FORCEDHALF) {
            given->widthKind = WIDTH_FULL;
            OpenPanelWindow(given, side);
        }
        return;
    }
    RememberedHidden[targetSide] = target->startHidden;
    target->panelType = PANEL_INFO;
    target->needsReread = 1;
    if (given->widthKind == WIDTH_FULL) {
        given->widthKind = WIDTH_FORCEDHALF;
        OpenPanelWindow(given, side);
    }
    OpenPanelWindow(target, targetSide);
}

void ChangeDiskLabel(CPanel* panel) {
    const char32_t letter = panel->path[0];
    Westring label;
    GetVolumeLabel(letter, label);
    int result;
    {
        const uint8_t attribute = ColourOf(ColourMessages);
        Dialog dialog(-1, -4, 22, 6, attribute);
        dialog.WriteCentred(-1, " Change Disk Label ", attribute);
        dialog.AddStringField(4, 1, 1, label, 12, 40, FieldKindNoHistory);
        dialog.AddPushButton(1, 3, 1, KEY_ENTER, "_OK");
        dialog.AddPushButton(9, 3, 0, KEY_ESC, "Cancel");
        result = dialog.Run();
    }
    if (result != KEY_ENTER) {
        return;
    }
    DWORD error = SetVolumeLabel(letter, label);
    if (error != 0) {
        ShowMessageBox(Westring("Error setting disk label: ") + FormatSystemError(error), Westring(), 0);
        return;
    }
    CopyPanelText(panel->volumeLabel, label);
}
