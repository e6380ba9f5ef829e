// The input side of qvhost past the terminal library: it turns keys and the
// terminal's SGR mouse reports into the program's event frames. Terminals
// report no key releases and no double clicks, so it makes up both: after a
// key with modifiers it reports the modifiers released, and a second press of
// a button on the same cell soon after the first is a double click.
#pragma once

#include "host/TerminalKeys.h"

#include <cstdint>
#include <string>

namespace qvhost {

class TerminalInput {
public:
    // The longest time between two presses that still makes a double click.
    static constexpr long long kDoubleClickMs = 500;

    void Key(const KeyEvent& key);
    // One SGR mouse report without its lead-in "ESC [ <": the parameters and
    // the final character ("0;71;11M"). False, and nothing sent, for text that
    // is not a whole report. `nowMs` is any steady clock in milliseconds.
    bool MouseReport(const std::string& report, long long nowMs);
    void Resized(int columns, int rows);

    // The event frames made since the last call.
    std::string Take();

private:
    void ReleaseModifiers(int32_t shift);

    std::string m_events;
    // The last press of a button, for telling a double click.
    int32_t m_lastButton = 0;
    int32_t m_lastX = -1;
    int32_t m_lastY = -1;
    long long m_lastPressMs = 0;
    bool m_lastWasDouble = false;
};

}  // namespace qvhost
