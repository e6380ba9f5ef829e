#include "host/TerminalInput.h"

#include "host/HostFrames.h"

namespace qvhost {

namespace {

// The bits of an SGR mouse report's first number.
enum : int {
    kSgrButtonMask = 3,  // 0 left, 1 middle, 2 right, 3 none
    kSgrShift = 4,
    kSgrAlt = 8,
    kSgrCtrl = 16,
    kSgrMotion = 32,
    kSgrWheel = 64,
};

constexpr int32_t kWheelStep = 120;

// Reads "b;x;y" followed by M or m; the numbers are short decimal fields.
bool ParseReport(const std::string& text, int (&numbers)[3], bool& pressed) {
    size_t i = 0;
    for (int n = 0; n < 3; ++n) {
        int value = 0;
        size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (++digits > 5) {
                return false;
            }
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (digits == 0 || i >= text.size()) {
            return false;
        }
        numbers[n] = value;
        const char sep = text[i++];
        if (n < 2 ? sep != ';' : (sep != 'M' && sep != 'm')) {
            return false;
        }
        pressed = sep == 'M';
    }
    return i == text.size();
}

}  // namespace

void TerminalInput::Key(const KeyEvent& key) {
    if (key.code == 0) {
        return;
    }
    m_events += EncodeEvent(kEventKey, key.code, key.shift, 0, 0, key.ch);
    ReleaseModifiers(key.shift);
}

void TerminalInput::ReleaseModifiers(int32_t shift) {
    // A key event without a key carries only the shift state.
    if (shift != 0) {
        m_events += EncodeEvent(kEventKey, 0, 0, 0, 0, 0);
    }
}

bool TerminalInput::MouseReport(const std::string& report, long long nowMs) {
    int n[3];
    bool pressed = false;
    if (!ParseReport(report, n, pressed) || n[1] < 1 || n[2] < 1) {
        return false;
    }
    const int code = n[0];
    const int32_t x = n[1] - 1, y = n[2] - 1;
    int32_t shift = 0;
    if (code & kSgrShift)
        shift |= kShiftShift;
    if (code & kSgrAlt)
        shift |= kShiftAlt;
    if (code & kSgrCtrl)
        shift |= kShiftCtrl;
    const int low = code & kSgrButtonMask;
    if (code & kSgrWheel) {
        // Wheel up and down; the sideways ones have no use here.
        if (pressed && (low == 0 || low == 1)) {
            m_events += EncodeEvent(kEventMouseWheel, low == 0 ? kWheelStep : -kWheelStep, shift, x, y, 0);
            ReleaseModifiers(shift);
        }
        return true;
    }
    // The protocol knows the left (1) and the right (2) button.
    const int32_t button = low == 0 ? 1 : low == 2 ? 2 : 0;
    if (button == 0 || code >= 128) {
        return true;
    }
    if (code & kSgrMotion) {
        if (pressed) {
            m_events += EncodeEvent(kEventMouseMove, button, shift, x, y, 0);
        }
        return true;
    }
    if (!pressed) {
        m_events += EncodeEvent(kEventMouseRelease, button, shift, x, y, 0);
        ReleaseModifiers(shift);
        return true;
    }
    const bool isDouble = !m_lastWasDouble && button == m_lastButton && x == m_lastX && y == m_lastY &&
                          nowMs >= m_lastPressMs && nowMs - m_lastPressMs <= kDoubleClickMs;
    m_events += EncodeEvent(isDouble ? kEventMouseDouble : kEventMousePress, button, shift, x, y, 0);
    m_lastButton = button;
    m_lastX = x;
    m_lastY = y;
    m_lastPressMs = nowMs;
    m_lastWasDouble = isDouble;
    return true;
}

void TerminalInput::Resized(int columns, int rows) {
    m_events += EncodeEvent(kEventResized, 0, 0, columns, rows, 0);
}

std::string TerminalInput::Take() {
    std::string events;
    events.swap(m_events);
    return events;
}

}  // namespace qvhost
