// The events qvhost makes of what the terminal sends: SGR mouse reports,
// double clicks, and the release of modifiers after a modified key.
#include "host/HostFrames.h"
#include "host/TerminalInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qvhost;

namespace {

struct Event {
    int32_t kind, code, shift, x, y, ch;
    bool operator==(const Event& o) const {
        return kind == o.kind && code == o.code && shift == o.shift && x == o.x && y == o.y && ch == o.ch;
    }
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{kind " << e.kind << " code " << std::hex << e.code << std::dec << " shift " << e.shift << " at "
               << e.x << "," << e.y << " ch " << e.ch << "}";
}

// Splits event frames back into their six integers.
std::vector<Event> Events(const std::string& frames) {
    std::vector<Event> out;
    auto u32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<uint32_t>(static_cast<uint8_t>(frames[at + i])) << (8 * i);
        }
        return static_cast<int32_t>(v);
    };
    for (size_t at = 0; at + 52 <= frames.size(); at += 52) {
        int32_t v[6];
        for (int i = 0; i < 6; ++i) {
            v[i] = u32(at + 4 + 8 * i + 4);
        }
        out.push_back(Event{v[0], v[1], v[2], v[3], v[4], v[5]});
    }
    EXPECT_EQ(frames.size() % 52, 0u);
    return out;
}

const Event kRelease{kEventKey, 0, 0, 0, 0, 0};

}  // namespace

TEST(TerminalInput, ModifiersAreReportedReleasedAfterAModifiedKey) {
    struct Case {
        const char* name;
        bool released;
    };
    const Case cases[] = {
        {"F3", false},       {"x", false},    {"Shift+F5", true}, {"Alt+F1", true},    {"Shift+Alt+F7", true},
        {"Ctrl+PgDn", true}, {"Alt+x", true}, {"Ctrl+a", true},   {"Shift+Tab", true}, {"Enter", false},
    };
    for (const Case& c : cases) {
        TerminalInput input;
        KeyEvent key = KeyFromName(c.name);
        ASSERT_NE(key.code, 0) << c.name;
        input.Key(key);
        std::vector<Event> expected = {Event{kEventKey, key.code, key.shift, 0, 0, key.ch}};
        if (c.released) {
            expected.push_back(kRelease);
        }
        EXPECT_EQ(Events(input.Take()), expected) << c.name;
    }
}

TEST(TerminalInput, SgrMouseReports) {
    struct Case {
        const char* report;
        bool whole;
        std::vector<Event> events;
    };
    const Case cases[] = {
        {"0;71;11M", true, {{kEventMousePress, 1, 0, 70, 10, 0}}},
        {"0;71;11m", true, {{kEventMouseRelease, 1, 0, 70, 10, 0}}},
        {"2;1;1M", true, {{kEventMousePress, 2, 0, 0, 0, 0}}},
        {"2;300;200m", true, {{kEventMouseRelease, 2, 0, 299, 199, 0}}},
        {"4;5;6M", true, {{kEventMousePress, 1, kShiftShift, 4, 5, 0}}},
        {"20;5;6m", true, {{kEventMouseRelease, 1, kShiftShift | kShiftCtrl, 4, 5, 0}, kRelease}},
        {"8;5;6M", true, {{kEventMousePress, 1, kShiftAlt, 4, 5, 0}}},
        {"32;9;3M", true, {{kEventMouseMove, 1, 0, 8, 2, 0}}},
        {"34;9;3M", true, {{kEventMouseMove, 2, 0, 8, 2, 0}}},
        {"35;9;3M", true, {}},  // a move with no button held
        {"64;2;2M", true, {{kEventMouseWheel, 120, 0, 1, 1, 0}}},
        {"65;2;2M", true, {{kEventMouseWheel, -120, 0, 1, 1, 0}}},
        {"1;2;2M", true, {}},  // the middle button has no use here
        {"0;71M", false, {}},
        {"0;71;11", false, {}},
        {"x;1;1M", false, {}},
        {"0;0;1M", false, {}},
        {"0;1;1X", false, {}},
        {"123456;1;1M", false, {}},
        {"0;1;1Mx", false, {}},
        {"", false, {}},
        {"0;;1M", false, {}},
    };
    for (const Case& c : cases) {
        TerminalInput input;
        EXPECT_EQ(input.MouseReport(c.report, 1000), c.whole) << c.report;
        EXPECT_EQ(Events(input.Take()), c.events) << c.report;
    }
}

TEST(TerminalInput, ASecondPressOnTheSameCellSoonAfterIsADoubleClick) {
    struct Press {
        const char* press;
        long long atMs;
        int32_t kind;
    };
    struct Case {
        const char* what;
        std::vector<Press> presses;  // each followed by its release
    };
    const Case cases[] = {
        {"two quick clicks", {{"0;5;5M", 0, kEventMousePress}, {"0;5;5M", 300, kEventMouseDouble}}},
        {"at the limit", {{"0;5;5M", 0, kEventMousePress}, {"0;5;5M", 500, kEventMouseDouble}}},
        {"too slow", {{"0;5;5M", 0, kEventMousePress}, {"0;5;5M", 501, kEventMousePress}}},
        {"another cell", {{"0;5;5M", 0, kEventMousePress}, {"0;6;5M", 100, kEventMousePress}}},
        {"another button", {{"0;5;5M", 0, kEventMousePress}, {"2;5;5M", 100, kEventMousePress}}},
        {"the right button", {{"2;5;5M", 0, kEventMousePress}, {"2;5;5M", 100, kEventMouseDouble}}},
        {"a third click starts anew",
         {{"0;5;5M", 0, kEventMousePress},
          {"0;5;5M", 100, kEventMouseDouble},
          {"0;5;5M", 200, kEventMousePress},
          {"0;5;5M", 300, kEventMouseDouble}}},
    };
    for (const Case& c : cases) {
        TerminalInput input;
        for (const Press& p : c.presses) {
            ASSERT_TRUE(input.MouseReport(p.press, p.atMs));
            std::string release = p.press;
            release.back() = 'm';
            ASSERT_TRUE(input.MouseReport(release, p.atMs + 50));
            std::vector<Event> events = Events(input.Take());
            ASSERT_EQ(events.size(), 2u) << c.what;
            EXPECT_EQ(events[0].kind, p.kind) << c.what << " at " << p.atMs;
            EXPECT_EQ(events[1].kind, kEventMouseRelease) << c.what;
        }
    }
}

TEST(TerminalInput, ResizeEvents) {
    TerminalInput input;
    input.Resized(100, 35);
    EXPECT_EQ(Events(input.Take()), std::vector<Event>({{kEventResized, 0, 0, 100, 35, 0}}));
    EXPECT_TRUE(input.Take().empty());
}
