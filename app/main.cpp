// Quorvane's entry point. Until the console client and the main program stand,
// this greets the console host, shows who it is and ends on the first key.
#include "platform/win32.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

HANDLE g_in;
HANDLE g_out;

void PutU16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

void PutInt(std::string& s, int32_t v) {
    PutU16(s, 0);
    PutU16(s, 4);
    for (int i = 0; i < 4; ++i) {
        s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    }
}

bool Send(uint16_t opcode, const std::string& records, uint16_t count) {
    std::string frame;
    PutU16(frame, 0xFBBF);
    PutU16(frame, opcode);
    PutU16(frame, count);
    frame += records;
    DWORD written = 0;
    return WriteFile(g_out, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr) &&
           written == frame.size();
}

bool ReadExact(void* buf, DWORD n) {
    char* p = static_cast<char*>(buf);
    while (n > 0) {
        DWORD got = 0;
        if (!ReadFile(g_in, p, n, &got, nullptr) || got == 0) {
            return false;
        }
        p += got;
        n -= got;
    }
    return true;
}

// Reads one host frame; returns its magic (0 on failure) and its integers.
uint16_t ReadFrame(int32_t* ints, int maxInts, int& count) {
    uint8_t head[4];
    if (!ReadExact(head, 4)) {
        return 0;
    }
    uint16_t magic = static_cast<uint16_t>(head[0] | head[1] << 8);
    uint16_t records = static_cast<uint16_t>(head[2] | head[3] << 8);
    count = 0;
    for (uint16_t i = 0; i < records; ++i) {
        uint8_t rec[4];
        if (!ReadExact(rec, 4)) {
            return 0;
        }
        uint16_t type = static_cast<uint16_t>(rec[0] | rec[1] << 8);
        uint16_t len = static_cast<uint16_t>(rec[2] | rec[3] << 8);
        std::string payload(len, '\0');
        if (len > 0 && !ReadExact(&payload[0], len)) {
            return 0;
        }
        if (type == 0 && len <= 4 && count < maxInts) {
            uint32_t v = 0;
            for (uint16_t k = 0; k < len; ++k) {
                v |= static_cast<uint32_t>(static_cast<uint8_t>(payload[k])) << (8 * k);
            }
            ints[count++] = static_cast<int32_t>(v);
        }
    }
    return (magic == 0xFBBF || magic == 0xFDDF) ? magic : 0;
}

void Draw(int columns, int rows) {
    std::string fill;
    PutInt(fill, 0);
    PutInt(fill, 0);
    PutInt(fill, columns);
    PutInt(fill, rows);
    PutU16(fill, 3);
    PutU16(fill, 1);
    fill += static_cast<char>(0x1F);
    Send(8, fill, 5);
    const char* lines[] = {
        "Quorvane",
        "A two-panel file manager: the panels, the command line and the menus are on their way.",
        "Press any key to leave.",
    };
    int y = rows / 2 - 1;
    for (const char* line : lines) {
        int len = static_cast<int>(std::strlen(line));
        std::string write;
        PutInt(write, len < columns ? (columns - len) / 2 : 0);
        PutInt(write, y++);
        PutU16(write, 1);
        PutU16(write, static_cast<uint16_t>(len));
        write += line;
        PutU16(write, 3);
        PutU16(write, 1);
        write += static_cast<char>(0x1F);
        Send(15, write, 4);
    }
}

}  // namespace

int main() {
    g_in = GetStdHandle(STD_INPUT_HANDLE);
    g_out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string init;
    PutInt(init, 1);
    int32_t ints[8];
    int count = 0;
    if (!Send(0, init, 1) || ReadFrame(ints, 8, count) != 0xFBBF) {
        return 1;
    }
    int columns = 80, rows = 25;
    if (count >= 1 && ints[0] != 0 && Send(6, std::string(), 0) && ReadFrame(ints, 8, count) == 0xFBBF && count >= 2) {
        columns = ints[0];
        rows = ints[1];
    }
    Draw(columns, rows);
    for (;;) {
        uint16_t magic = ReadFrame(ints, 8, count);
        if (magic == 0) {
            return 0;  // the host closed our input
        }
        if (magic != 0xFDDF || count < 5) {
            continue;
        }
        if (ints[0] == 7) {  // resized
            columns = ints[3];
            rows = ints[4];
            Draw(columns, rows);
        } else if (ints[0] == 0 || ints[0] == 6) {
            break;
        }
    }
    std::string fill;
    PutInt(fill, 0);
    PutInt(fill, 0);
    PutInt(fill, columns);
    PutInt(fill, rows);
    PutU16(fill, 3);
    PutU16(fill, 1);
    fill += static_cast<char>(0x07);
    Send(8, fill, 5);
    return 0;
}
