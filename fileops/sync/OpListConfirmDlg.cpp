#include "fileops/sync/OpListConfirmDlg.h"

#include "app/settings/Colours.h"
#include "base/os/PathDisplay.h"
#include "base/strings/NumberFormat.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"

namespace {

typedef CSynchronizer::TSyncOperation TOp;

const TButtonDef ListButtons[] = {{KEY_ENTER, "_OK"}, {KEY_ESC, "Cancel"}, {0, nullptr}};

int ConfirmHeight(int operations) {
    return ScreenRows - 10 > operations ? operations + 7 : ScreenRows - 3;
}

// "Are you sure ...": OK confirms; the focus starts on Cancel.
bool ConfirmAgain() {
    const uint8_t colour = ColourOf(ColourErrors);
    Dialog question(-1, -2, 54, 5, colour);
    question.WriteCentred(0, "Are you sure you wish to proceed with Synchronize?", colour);
    int first = question.AddButtonRow(-1, -1, 1, ListButtons);
    question.SetFocus(first + 1);
    return question.Run() == KEY_ENTER;
}

Westring Counter(const char* label, int32_t count) {
    char32_t digits[NumberTextSize];
    FormatNumberToWidth(static_cast<uint32_t>(count), digits, 7);
    return Westring("  ") + Westring(label) + Westring(": ") + Westring(digits);
}

}  // namespace

CSynchronizer::COpListConfirmDlg::COperationListBox::COperationListBox(Dialog& owner, int x, int y, int width, int rows,
                                                                       CSyncOperationList& plan, int32_t* selection)
    : ListBoxBase(owner, x, y, width, rows, plan.Count(), selection, 0), plan(plan) {}

Westring CSynchronizer::COpListConfirmDlg::COperationListBox::FormatRow(const TSyncOperation& op, int width) {
    Westring label = Westring(CSyncOperationList::KindLabel(op.kind)).Pad(LabelWidth, ' ');
    int room = width - LabelWidth;
    return (label + ShortenedPathForDisplay(op.path, room > 0 ? room : 0)).Pad(width, ' ');
}

void CSynchronizer::COpListConfirmDlg::COperationListBox::DrawItem(int row, int item, uint8_t attribute) {
    const TSyncOperation* op = plan.At(item);
    if (op == nullptr) {
        return;
    }
    // Removals and reverts in the delete colour, updates in the update
    // colour, on the row's own background.
    uint8_t colour = attribute;
    if (op->kind == TOp::Delete || op->kind == TOp::DelDir || op->kind == TOp::Revert) {
        colour = static_cast<uint8_t>((attribute & 0xF0) | (ColourOf(ColourSynchDelete) & 0x0F));
    } else if (op->kind == TOp::Update) {
        colour = static_cast<uint8_t>((attribute & 0xF0) | (ColourOf(ColourSynchUpdate) & 0x0F));
    }
    Owner().WriteWide(X(), Y() + row, FormatRow(*op, Width()), colour);
}

Westring CSynchronizer::COpListConfirmDlg::COperationListBox::GetItemText(int item) {
    const TSyncOperation* op = plan.At(item);
    return op != nullptr ? op->path : Westring();
}

Westring CSynchronizer::COpListConfirmDlg::FormatTotals(const CSyncOperationList& plan) {
    char32_t bytes[NumberTextSize];
    FormatNumberToWidth64(static_cast<int64_t>(plan.totalBytes), bytes, 7);
    Westring line = Westring("Total: ") + Westring(bytes);
    const struct {
        const char* label;
        int32_t count;
    } counters[] = {
        {"Copies", plan.copies}, {"Updates", plan.updates}, {"Deletes", plan.deletes}, {"Reverts", plan.reverts}};
    for (const auto& c : counters) {
        if (c.count != 0) {
            line = line + Counter(c.label, c.count);
        }
    }
    return line;
}

CSynchronizer::COpListConfirmDlg::COpListConfirmDlg(const Westring& source, const Westring& target,
                                                    CSyncOperationList& plan)
    : Dialog(-1, -2, ScreenColumns - 3, ConfirmHeight(plan.Count()), ColourOf(ColourMenu)), source(source),
      target(target), halfWidth(0), selection(0) {
    const uint8_t colour = Attribute();
    SetColour(DialogColourField, ColourOf(ColourCommandLine));
    WriteCentred(-1, " Confirm Synchronize Operations ", colour);
    const int inner = ClientWidth();
    halfWidth = (inner - 11) / 2;
    const uint8_t heading = ColourOf(ColourColumnHeading);
    WriteWide(LabelWidth, 0, ShortenedPathForDisplay(source, halfWidth), heading);
    WriteWide(LabelWidth + halfWidth + 1, 0, Westring(U"\u00BB"), heading);
    WriteWide(halfWidth + 12, 0, ShortenedPathForDisplay(target, halfWidth), heading);
    int rows = ClientHeight() - 4;
    AddElement(new COperationListBox(*this, 0, 2, inner, rows > 1 ? rows : 1, plan, &selection), 1);
    Westring totals = FormatTotals(plan);
    WriteWide(0, ClientHeight() - 2, totals.Left(inner), colour);
    AddButtonRow(-1, -1, 1, ListButtons);
}

int CSynchronizer::COpListConfirmDlg::Run() {
    for (;;) {
        if (Dialog::Run() != KEY_ENTER) {
            return 0;
        }
        if (ConfirmAgain()) {
            return 1;
        }
    }
}
