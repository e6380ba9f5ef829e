// CFunctionKeyBar: the bottom row of the screen, ten labels for F1 to F10 that
// change with the Alt, Ctrl and Shift keys held, and that the mouse can press.
#pragma once

#include "ui/Win.h"

class CFunctionKeyBar : private Win {
public:
    // Full width on the bottom row of the current screen.
    CFunctionKeyBar();

    // Ten labels, each starting with its key number.
    void SetLabels(const char* const* labels);
    // The label set of a shift state (1 Alt, 2 Ctrl, 4 Shift).
    void SetLabelsForShift(int shiftState);
    void Show() { SetHidden(false); }
    void Hide() { SetHidden(true); }
    int Row() const { return Top(); }
};

// The eight label sets of ten, indexed by the shift state & 7.
extern const char* const FunctionKeyLabels[8][10];

// The bar of the run; null while none exists.
extern CFunctionKeyBar* FunctionKeyBar;

// Replaces the bar by a new one on the current bottom row, drawn for the shift
// state; deletes the old one first.
void RecreateFunctionKeyBar(int shiftState);
void DeleteFunctionKeyBar();

// The key of the bar slot at column x on a screen `columns` wide: the right
// button (mouse actions 1 and 6) or Alt gives Alt+F(n), else Shift, Ctrl or
// nothing give Shift+F(n), Ctrl+F(n) or F(n).
int FunctionKeyFromBarSlot(int x, int columns, int action, int shiftState);
