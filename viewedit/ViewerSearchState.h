// What the viewer's searches and code-page choice keep for the whole run of
// the program; the editor and File Find search with the same text, options and
// code page.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

// The search dialog's check boxes.
struct TViewerSearchOptions {
    uint8_t caseSensitive;
    uint8_t reverse;
    uint8_t wholeWord;
};

extern Westring ViewerSearchText;
extern TViewerSearchOptions ViewerSearchOptions;
// The code page chosen from the "TranslateCP" list; 0 means the text code page.
extern uint32_t ViewerCodePage;
// Where in the "TranslateCP" list the next code page is taken.
extern int32_t TranslateCodePagePosition;
