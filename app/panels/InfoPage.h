// The information page a panel can show in place of its files: memory, the
// drive or archive shown in the other panel, its volume, and the text of
// that directory's "dirinfo" file. Also the disk label command it offers.
#pragma once

#include <cstdint>

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

class CPanel;
class Win;

// The page command given on the panel of `side`: the page goes into (or
// leaves) the other panel.
void ToggleInfoPage(int side);
// Draws the page into the window of the panel of `side`, describing the
// other panel; nothing when that window is missing, hidden or off.
void FillInfoPanel(int side);
// The lines of the directory's "dirinfo" file from `row` down, under a
// " Dir Info " title on that row; nothing when there is no such file.
void ShowDirInfo(Win* window, const Westring& directory, int row);
// Asks for a new label of the panel's drive and sets it.
void ChangeDiskLabel(CPanel* panel);

// The room the panel's files take: each file's size rounded up to whole
// clusters, an empty file one cluster, directories nothing; each file at its
// own size when the cluster size is unknown (0).
uint64_t InfoPageFileSpace(const CPanel* panel, uint64_t clusterSize);
// The share of the unpacked size the packing saved, in whole tenths of a
// percent ("66.7%"); "0%" when nothing was unpacked.
Estring InfoPageCompressionText(int64_t unpacked, int64_t packed);
