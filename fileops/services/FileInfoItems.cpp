#include "fileops/services/FileInfoItems.h"

void CFileInfoItems::Add(const Estring& name, const Westring& value) {
    CFileInfoItem* item = new CFileInfoItem;
    item->name = name;
    item->value = value;
    TObjectStore<CFileInfoItem>::Add(item);
}

namespace {

// Decimal digits with a thousands separator every three.
Estring GroupThousands(uint64_t value) {
    Estring digits = Int64ToEstring(static_cast<int64_t>(value));
    Estring grouped;
    int n = digits.Length();
    for (int i = 0; i < n; i++) {
        grouped += digits[i];
        int after = n - 1 - i;
        if (after > 0 && after % 3 == 0) {
            grouped += ',';
        }
    }
    return grouped;
}

// The value in a field of the given width: the digits with separators, or
// the value in K, M, G or T when the bytes are too many for the field.
Estring SizeInWidth(int64_t size, int width) {
    int digits = width - width / 4;
    if (digits > 18) {
        digits = 18;
    }
    int64_t limit = 1;
    for (int i = 0; i < digits; i++) {
        limit *= 10;
    }
    uint64_t value = size < 0 ? 0 : static_cast<uint64_t>(size);
    if (static_cast<int64_t>(value) < limit) {
        return GroupThousands(value);
    }
    if (width % 4 != 0) {
        limit /= 10;
    }
    static const char units[] = "KMGT";
    int unit = 0;
    uint64_t shown = value >> 10;
    while (unit < 3 && shown > static_cast<uint64_t>(limit)) {
        unit++;
        shown = value >> (10 * (unit + 1));
    }
    Estring text = GroupThousands(shown);
    text += units[unit];
    return text;
}

}  // namespace

Westring FormatSizeShortAndFull(int64_t size) {
    Estring shortForm = SizeInWidth(size, 6);
    Estring fullForm = SizeInWidth(size, 20);
    if (shortForm == fullForm) {
        return Westring(fullForm.Data());
    }
    return Westring((shortForm + " (" + fullForm + ")").Data());
}
