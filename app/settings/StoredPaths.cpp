#include "app/settings/StoredPaths.h"

#include "base/os/PathDisplay.h"

Westring StoredPaths[StoredPathCount];

Westring FormatStoredPathItem(int slot, int width) {
    Estring number;
    number.Format("%d - ", slot);
    Westring item(number.Data());
    if (slot < 0 || slot >= StoredPathCount || StoredPaths[slot].IsEmpty()) {
        return item + Westring("Empty");
    }
    return item + ShortenedPathForDisplay(StoredPaths[slot], width - 6);
}
