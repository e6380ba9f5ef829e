#include "app/settings/Colours.h"

#include <cstring>

#include "app/settings/Config.h"

const char* const ColourSlotNames[ColourSlotCount] = {
    "Panel",          "Highlight",      "Tagged",         "Highlight-Tagged", "Directories",  "Directory High",
    "Command Line",   "Messages",       "Errors",         "Input Fields",     "Screen Saver", "Menu",
    "Menu Bar",       "Menu Highlight", "Menu Quick Key", "Disabled Menu",    "File Viewer",  "Clock",
    "Column Heading", "Synch Update",   "Synch Delete",
};

const uint8_t DefaultColours[ColourSlotCount] = {
    0x1B, 0x30, 0x1E, 0x3E, 0x1A, 0x20, 0x07, 0x70, 0x4F, 0x30, 0x03,
    0x3F, 0x30, 0x0F, 0x0E, 0x07, 0x1B, 0x30, 0x3E, 0x3A, 0x3E,
};

uint8_t ColourOf(EColourSlot slot) {
    return Config.Colours[slot];
}

void ResetColours() {
    std::memcpy(Config.Colours, DefaultColours, sizeof(DefaultColours));
}

namespace {

// The colour words by number; only their first three letters are compared.
const char* const ColourNames[8] = {"bla", "blu", "gre", "cya", "red", "mag", "yel", "whi"};

// Compares the first three letters of a word (not terminated: `length` long)
// with a name as strnicmp(word, name, 3) would, so "on" matches only "on".
bool WordIs(const char* word, int length, const char* name) {
    for (int i = 0; i < 3; i++) {
        char c = i < length ? word[i] : 0;
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != name[i]) {
            return false;
        }
        if (c == 0) {
            break;
        }
    }
    return true;
}

}  // namespace

uint32_t ParseColourSpec(const Estring& text, uint32_t attribute) {
    const char* p = text.Data();
    bool background = false;
    bool first = true;
    while (*p == ' ') {
        p++;
    }
    while (*p) {
        const char* word = p;
        while (*p && *p != ' ') {
            p++;
        }
        int length = static_cast<int>(p - word);
        while (*p == ' ') {
            p++;
        }
        if (WordIs(word, length, "on")) {
            background = true;
            attribute &= 15;
            first = false;
            continue;
        }
        if (first) {
            attribute &= ~15u;
            first = false;
        }
        if (WordIs(word, length, "bri")) {
            attribute |= background ? 0x80u : 0x08u;
            continue;
        }
        for (uint32_t colour = 0; colour < 8; colour++) {
            if (WordIs(word, length, ColourNames[colour])) {
                attribute |= background ? colour << 4 : colour;
                break;
            }
        }
    }
    return attribute;
}
