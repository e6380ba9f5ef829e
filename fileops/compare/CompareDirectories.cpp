#include "fileops/compare/CompareDirectories.h"

#include <algorithm>

#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelTagging.h"
#include "app/panels/PanelTags.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/FieldKinds.h"
#include "base/mask/MaskExpression.h"
#include "base/strings/Str32.h"
#include "console/KeyCodes.h"
#include "fileops/FieldHotLetter.h"
#include "fileops/FileCommands.h"
#include "fileops/TimestampResolution.h"
#include "fileops/compare/CompareFileContents.h"
#include "ui/Dialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBox.h"

namespace {

const int MaskLength = 100;
const uint16_t AttrDirectory = 0x10;

enum { CompareIgnore = 0, CompareTagGreater = 1, CompareTagSmaller = 2, CompareTagDifferent = 3 };

bool IsParentEntry(const entry* item) {
    return item->name[0] == '.' && item->name[1] == '.' && item->name[2] == 0;
}

bool IsDirectory(const entry* item) {
    return (item->attributes & AttrDirectory) != 0;
}

bool IsDescriptionName(const char32_t* name) {
    static const char32_t description[] = U"descript.ion";
    return Str32CompareNoCase(name, description) == 0;
}

bool CanCompare(const CPanel* panel) {
    return IsPanelVisible(panel) && panel->panelType == PANEL_FILES && panel->viewStyle != VIEW_TREE;
}

// One side of the comparison: its panel, directory and a mask object that
// caches what the mask looks up in that directory.
struct TSide {
    CPanel* panel;
    Westring directory;
    MaskExpression mask;

    bool Matches(const entry* item) { return mask.Match(Config.CMPMask, directory, item) == 1; }
    // Tags only a file the mask lets through.
    void Tag(entry* item) {
        if (Matches(item)) {
            PanelSetEntryTag(panel, item, 1);
        }
    }
};

// The sign of a comparison, for the tagging rules.
int Sign(int64_t a, int64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// Tags by one condition: 1 the greater side, 2 the smaller, 3 both when they
// differ.
void TagByRule(int rule, int order, TSide& left, entry* l, TSide& right, entry* r) {
    if (order == 0 || rule == CompareIgnore) {
        return;
    }
    bool tagLeft = rule == CompareTagDifferent || (rule == CompareTagGreater && order > 0) ||
                   (rule == CompareTagSmaller && order < 0);
    bool tagRight = rule == CompareTagDifferent || (rule == CompareTagGreater && order < 0) ||
                    (rule == CompareTagSmaller && order > 0);
    if (tagLeft) {
        left.Tag(l);
    }
    if (tagRight) {
        right.Tag(r);
    }
}

void ClearAllTags(CPanel* panel) {
    for (int i = 0; i < panel->entryCount; i++) {
        PanelSetEntryTag(panel, panel->entries[i], -1);
    }
}

}  // namespace

void PairNames(const std::vector<const char32_t*>& left, const std::vector<const char32_t*>& right,
               std::vector<int>& partner) {
    // The right names in the order of case-blind comparison, exact ties broken
    // exactly, so that every spelling of a name stands in one run.
    std::vector<int> order(right.size());
    for (size_t i = 0; i < order.size(); i++) {
        order[i] = static_cast<int>(i);
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        int c = Str32CompareNoCase(right[a], right[b]);
        return c != 0 ? c < 0 : Str32Compare(right[a], right[b]) < 0;
    });
    auto runStart = [&](const char32_t* name) {
        return std::lower_bound(order.begin(), order.end(), name, [&](int item, const char32_t* key) {
            return Str32CompareNoCase(right[item], key) < 0;
        });
    };
    std::vector<bool> taken(right.size(), false);
    partner.assign(left.size(), -1);
    for (int pass = 0; pass < 2; pass++) {
        for (size_t i = 0; i < left.size(); i++) {
            if (partner[i] >= 0) {
                continue;
            }
            for (auto it = runStart(left[i]); it != order.end() && Str32CompareNoCase(right[*it], left[i]) == 0; ++it) {
                if (!taken[*it] && (pass == 1 || Str32Compare(right[*it], left[i]) == 0)) {
                    partner[i] = *it;
                    taken[*it] = true;
                    break;
                }
            }
        }
    }
}

int CompareDirectoriesDialog() {
    const uint8_t colour = ColourOf(ColourMessages);
    bool archive = Panels[0].archive != nullptr || Panels[1].archive != nullptr;
    if (archive) {
        Config.CMPContents = 0;
    }
    int32_t timeRule = Config.CMPTime;
    int32_t sizeRule = Config.CMPSize;
    uint8_t unmatched = Config.CMPUnmatched;
    uint8_t contents = Config.CMPContents;
    Westring mask = Config.CMPMask;
    Dialog dialog(-1, -2, 46, 14, colour);
    dialog.WriteCentred(-1, " Directory Compare ", colour);
    dialog.WriteText(1, 1, "Date/Time", colour);
    dialog.WriteText(24, 1, "Size", colour);
    static const char* const timeLabels[] = {"Ignore Date", "Tag Newer", "Tag Older", "Tag Different"};
    static const char* const sizeLabels[] = {"Ignore Size", "Tag Larger", "Tag Smaller", "Tag Different"};
    for (int i = 0; i < 4; i++) {
        dialog.AddRadioButton(1, 3 + i, i == 0 ? 2 : 0, &timeRule, i, timeLabels[i]);
    }
    for (int i = 0; i < 4; i++) {
        dialog.AddRadioButton(24, 3 + i, i == 0 ? 2 : 0, &sizeRule, i, sizeLabels[i]);
    }
    dialog.AddCheckBox(1, 8, 1, &unmatched, "Tag Unmatched", 1);
    if (!archive) {
        dialog.AddCheckBox(1, 9, 1, &contents, "Compare Contents", 1);
    }
    dialog.WriteHotKeyText(24, 8, "Mask", "m", colour);
    int field = dialog.AddStringField(29, 8, 1, mask, 14, MaskLength, FieldKindCompareMask);
    dialog.AddPushButton(8, 11, 1, KEY_ENTER, "_OK");
    dialog.AddPushButton(16, 11, 0, KEY_ESC, "Cancel");
    dialog.AddPushButton(28, 11, 0, KEY_F1, "Help");
    dialog.AddExitKey(KEY_F1);
    SetFieldHotLetter(dialog, field, 'm');
    for (;;) {
        int result = dialog.Run();
        if (result == KEY_F1) {
            ShowHelp(HelpTopicCompare);
            continue;
        }
        if (result != KEY_ENTER) {
            return -1;
        }
        MaskExpression check;
        if (check.CheckSyntax(mask)) {
            break;
        }
        ShowMessageBox(Westring("Error in Mask expression"), check.ErrorMessage(), MessageBoxOk);
    }
    dialog.CommitAll();
    Config.CMPTime = timeRule;
    Config.CMPSize = sizeRule;
    Config.CMPUnmatched = unmatched;
    Config.CMPContents = archive ? 0 : contents;
    Config.CMPMask = mask;
    return 0;
}

void CompareDirectories() {
    TSide left;
    TSide right;
    left.panel = &Panels[0];
    right.panel = &Panels[1];
    if (!CanCompare(left.panel) || !CanCompare(right.panel)) {
        return;
    }
    if (CompareDirectoriesDialog() != 0) {
        return;
    }
    left.directory = GetPanelDirectory(left.panel);
    right.directory = GetPanelDirectory(right.panel);

    int resolution = ResolutionEvenSeconds;
    for (int i = 0; i < left.panel->entryCount; i++) {
        entry* item = left.panel->entries[i];
        PanelSetEntryTag(left.panel, item, -1);
        if (!IsParentEntry(item)) {
            resolution = std::max(resolution, GetTimestampResolution(item->time));
        }
    }

    // Every right file starts tagged as unmatched (when asked); a partner
    // takes the tag off again.
    std::vector<entry*> rightFiles;
    int rightResolution = ResolutionEvenSeconds;
    for (int i = 0; i < right.panel->entryCount; i++) {
        entry* item = right.panel->entries[i];
        bool file = !IsDirectory(item) && !IsParentEntry(item);
        bool tag = Config.CMPUnmatched && file && !IsSystemMetadataFile(item->name) && right.Matches(item);
        PanelSetEntryTag(right.panel, item, tag ? 1 : -1);
        if (file) {
            rightFiles.push_back(item);
            rightResolution = std::max(rightResolution, GetTimestampResolution(item->time));
        }
    }
    resolution = std::min(resolution, rightResolution);

    std::vector<entry*> leftFiles;
    for (int i = 0; i < left.panel->entryCount; i++) {
        entry* item = left.panel->entries[i];
        if (!IsDirectory(item) && !IsParentEntry(item) && !IsDescriptionName(item->name)) {
            leftFiles.push_back(item);
        }
    }
    std::vector<const char32_t*> leftNames;
    std::vector<const char32_t*> rightNames;
    for (entry* item : leftFiles) {
        leftNames.push_back(item->name);
    }
    for (entry* item : rightFiles) {
        rightNames.push_back(item->name);
    }
    std::vector<int> partner;
    PairNames(leftNames, rightNames, partner);

    bool stopped = false;
    for (size_t i = 0; i < leftFiles.size() && !stopped; i++) {
        entry* l = leftFiles[i];
        if (partner[i] < 0) {
            if (Config.CMPUnmatched) {
                left.Tag(l);
            }
            continue;
        }
        entry* r = rightFiles[partner[i]];
        PanelSetEntryTag(left.panel, l, -1);
        PanelSetEntryTag(right.panel, r, -1);
        TTimestamp lt = RoundTimestamp(l->time, resolution);
        TTimestamp rt = RoundTimestamp(r->time, resolution);
        TagByRule(Config.CMPTime, CompareTimestamps(lt, rt), left, l, right, r);
        int64_t ls = static_cast<int64_t>(l->size);
        int64_t rs = static_cast<int64_t>(r->size);
        TagByRule(Config.CMPSize, Sign(ls, rs), left, l, right, r);
        if (!Config.CMPContents || (l->tagged && r->tagged)) {
            continue;
        }
        int different = ls != rs ? 1
                                 : CompareFileContents(AddTrailingBackslash(left.directory) + Westring(l->name),
                                                       AddTrailingBackslash(right.directory) + Westring(r->name));
        if (different < 0) {
            stopped = true;
        } else if (different == 1) {
            left.Tag(l);
            right.Tag(r);
        }
    }
    if (stopped) {
        ClearAllTags(left.panel);
        ClearAllTags(right.panel);
    }
    RedrawPanel(left.panel);
    RedrawPanel(right.panel);
    if (!stopped && left.panel->taggedCount == 0 && right.panel->taggedCount == 0) {
        ShowMessageBox(Westring("No files meet the specified conditions"), Westring(), MessageBoxNormal);
    }
}
