#include "base/os/FileInfoItems.h"

#include "base/strings/NumberFormat.h"

void CFileInfoItems::Add(const Estring& name, const Westring& value) {
    CFileInfoItem* item = new CFileInfoItem;
    item->name = name;
    item->value = value;
    TObjectStore<CFileInfoItem>::Add(item);
}

namespace {

// The size as the number formatter shows it in a field of the given width.
Westring SizeInWidth(int64_t size, int width) {
    char32_t text[NumberTextSize];
    FormatNumberToWidth64(size < 0 ? 0 : size, text, width);
    return Westring(text);
}

}  // namespace

Westring FormatSizeShortAndFull(int64_t size) {
    Westring shortForm = SizeInWidth(size, 6);
    Westring fullForm = SizeInWidth(size, 20);
    if (shortForm.EqualsExact(fullForm)) {
        return fullForm;
    }
    return shortForm + Westring(" (") + fullForm + Westring(")");
}
