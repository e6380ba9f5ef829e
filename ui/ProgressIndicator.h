// ProgressIndicator: the bar element of progress windows, full blocks for the
// part done and light shade for the rest, bound to a ratio from 0 to 1 that
// its owner updates. It never takes the focus.
#pragma once

#include "ui/Dialog.h"

class ProgressIndicator : public DialogElement {
public:
    ProgressIndicator(Dialog& owner, int x, int y, int width, float* ratio);
    int GetType() const override { return TypeProgressIndicator; }
    void Draw() override;

    // Cells of the bar that show as done for a ratio: the width times the
    // ratio, truncated, within 0 and the width.
    static int FilledCells(int width, float ratio);

private:
    float* ratio;
    int width;
};
