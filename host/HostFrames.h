// The host's side of the console host protocol: decoding the program's request
// frames and encoding replies and input events. Shared by the terminal host
// (qvhost) and the scripted host that the end-to-end tests drive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

enum : uint16_t {
    kMagicCall = 0xFBBF,
    kMagicEvent = 0xFDDF,
};

enum ParamType : uint16_t {
    kParamInt = 0,
    kParamText8 = 1,
    kParamText32 = 2,
    kParamAttr = 3,
    kParamCells = 4,
};

struct Cell {
    char32_t ch;
    uint8_t attr;
};

// One decoded parameter record of a request.
struct Param {
    ParamType type = kParamInt;
    int32_t value = 0;        // int: the value; attr: the attribute byte
    std::u32string text;      // text8 (each byte one unit, undecoded), text32 (decoded UTF-8)
    std::vector<Cell> cells;  // cells
};

struct Request {
    uint16_t opcode = 0;
    std::vector<Param> params;

    // Typed access that tolerates a short or mistyped frame.
    int32_t Int(size_t i, int32_t fallback = 0) const;
    const std::u32string& Text(size_t i) const;
    const std::vector<Cell>* Cells(size_t i) const;
};

// Incremental decoder: feed it bytes as they arrive, take whole requests out.
class RequestDecoder {
public:
    // The most parameter records one request may carry.
    static constexpr uint16_t kMaxRecords = 64;

    void Feed(const uint8_t* data, size_t n);
    // True and fills `out` when a whole request is buffered. A frame with a
    // bad magic or too many records sets Broken() and yields nothing further.
    bool Next(Request& out);
    bool Broken() const { return m_broken; }
    // The bytes of a frame still waiting for the rest.
    size_t Buffered() const { return m_buf.size() - m_pos; }
    // The bytes held in memory, decoded ones included until the next Feed.
    size_t Held() const { return m_buf.size(); }

private:
    std::vector<uint8_t> m_buf;
    size_t m_pos = 0;
    bool m_broken = false;
};

// Encoders for what the host sends.
std::string EncodeReply(const std::vector<int32_t>& ints, const std::u32string* text = nullptr);
std::string EncodeEvent(int32_t kind, int32_t code, int32_t shift, int32_t x, int32_t y, int32_t ch);

// Event kinds of the protocol.
enum EventKind : int32_t {
    kEventKey = 0,
    kEventMousePress = 1,
    kEventMouseRelease = 2,
    kEventMouseMove = 3,  // moved with a button held
    kEventMouseDouble = 4,
    kEventMouseWheel = 5,  // code: the wheel delta
    kEventClosed = 6,
    kEventResized = 7,
};

// Shift-state bits of key and mouse events.
enum : int32_t {
    kShiftAlt = 1,
    kShiftCtrl = 2,
    kShiftShift = 4,
};

}  // namespace qvhost
