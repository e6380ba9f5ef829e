#include "ui/ProgressIndicator.h"

#include "base/strings/Westring.h"

ProgressIndicator::ProgressIndicator(Dialog& owner, int x, int y, int width, float* ratio)
    : DialogElement(owner, x, y, false, 0), ratio(ratio), width(width) {}

int ProgressIndicator::FilledCells(int width, float ratio) {
    if (width <= 0 || !(ratio > 0)) {
        return 0;  // also a NaN ratio
    }
    if (ratio >= 1) {
        return width;
    }
    int n = static_cast<int>(width * ratio);
    return n < width ? n : width;
}

void ProgressIndicator::Draw() {
    int filled = FilledCells(width, *ratio);
    Westring bar = RepeatChar32(0x2588, filled) + RepeatChar32(0x2591, width - filled);
    Owner().WriteWideDefault(X(), Y(), bar);
}

int Dialog::AddProgressIndicator(int x, int y, int width, float* ratio) {
    int i = AddElement(new ProgressIndicator(*this, x, y, width, ratio), 0);
    DrawElement(i);
    return i;
}
