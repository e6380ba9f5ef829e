#include "host/HostFrames.h"

#include "base/strings/Utf8Codec.h"

#include <cstddef>

namespace qvhost {

namespace {

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void PutU16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutInt(std::string& out, int32_t v) {
    PutU16(out, kParamInt);
    PutU16(out, 4);
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((u >> (8 * i)) & 0xFF);
    }
}

const std::u32string kEmpty;

}  // namespace

int32_t Request::Int(size_t i, int32_t fallback) const {
    if (i < params.size() && (params[i].type == kParamInt || params[i].type == kParamAttr)) {
        return params[i].value;
    }
    return fallback;
}

const std::u32string& Request::Text(size_t i) const {
    if (i < params.size() && (params[i].type == kParamText8 || params[i].type == kParamText32)) {
        return params[i].text;
    }
    return kEmpty;
}

const std::vector<Cell>* Request::Cells(size_t i) const {
    if (i < params.size() && params[i].type == kParamCells) {
        return &params[i].cells;
    }
    return nullptr;
}

void RequestDecoder::Feed(const uint8_t* data, size_t n) {
    // What was decoded goes, so that a stream whose reads keep ending inside a
    // frame does not grow the buffer for ever.
    if (m_pos > 0) {
        m_buf.erase(m_buf.begin(), m_buf.begin() + static_cast<std::ptrdiff_t>(m_pos));
        m_pos = 0;
    }
    m_buf.insert(m_buf.end(), data, data + n);
}

bool RequestDecoder::Next(Request& out) {
    if (m_broken) {
        return false;
    }
    const size_t avail = m_buf.size() - m_pos;
    if (avail < 6) {
        return false;
    }
    const uint8_t* p = m_buf.data() + m_pos;
    if (U16(p) != kMagicCall) {
        m_broken = true;
        return false;
    }
    // First make sure every record is here, then decode. No request has more
    // than a handful of records; a head that announces more is not a frame,
    // and waiting for it would buffer gigabytes.
    const uint16_t count = U16(p + 4);
    if (count > kMaxRecords) {
        m_broken = true;
        return false;
    }
    size_t off = 6;
    for (uint16_t i = 0; i < count; ++i) {
        if (avail < off + 4) {
            return false;
        }
        off += 4 + U16(p + off + 2);
        if (avail < off) {
            return false;
        }
    }
    out.opcode = U16(p + 2);
    out.params.clear();
    off = 6;
    for (uint16_t i = 0; i < count; ++i) {
        Param param;
        param.type = static_cast<ParamType>(U16(p + off));
        const uint16_t len = U16(p + off + 2);
        const uint8_t* payload = p + off + 4;
        off += 4 + len;
        switch (param.type) {
        case kParamInt: {
            uint32_t v = 0;
            for (int k = 0; k < len && k < 4; ++k) {
                v |= static_cast<uint32_t>(payload[k]) << (8 * k);
            }
            param.value = static_cast<int32_t>(v);
            break;
        }
        case kParamText8:
            for (int k = 0; k < len && payload[k] != 0; ++k) {
                param.text += static_cast<char32_t>(payload[k]);
            }
            break;
        case kParamText32: param.text = Utf8ToUtf32(std::string(reinterpret_cast<const char*>(payload), len)); break;
        case kParamAttr: param.value = len >= 1 ? payload[0] : 0; break;
        case kParamCells: {
            // Text up to the NUL, then one attribute per character; a
            // record too short for them all is dropped, as the program does.
            size_t nul = 0;
            bool ascii = true;
            while (nul < len && payload[nul] != 0) {
                ascii = ascii && payload[nul] < 0x80;
                ++nul;
            }
            if (nul >= len) {
                continue;
            }
            const uint8_t* attrs = payload + nul + 1;
            const size_t attrCount = len - nul - 1;
            if (ascii) {
                // The common case, a child's output: one byte per character.
                if (attrCount < nul) {
                    continue;
                }
                param.cells.resize(nul);
                for (size_t k = 0; k < nul; ++k) {
                    param.cells[k] = Cell{payload[k], attrs[k]};
                }
                break;
            }
            std::u32string chars = Utf8ToUtf32(std::string(reinterpret_cast<const char*>(payload), nul));
            if (attrCount < chars.size()) {
                continue;
            }
            param.cells.resize(chars.size());
            for (size_t k = 0; k < chars.size(); ++k) {
                param.cells[k] = Cell{chars[k], attrs[k]};
            }
            break;
        }
        default: continue;  // unknown record: skipped by its length
        }
        out.params.push_back(std::move(param));
    }
    m_pos += off;
    return true;
}

std::string EncodeReply(const std::vector<int32_t>& ints, const std::u32string* text) {
    std::string out;
    PutU16(out, kMagicCall);
    PutU16(out, static_cast<uint16_t>(ints.size() + (text ? 1 : 0)));
    for (int32_t v : ints) {
        PutInt(out, v);
    }
    if (text) {
        std::string utf8 = Utf32ToUtf8(*text);
        if (utf8.size() > 0xFFFF) {
            utf8.resize(0xFFFF);
        }
        PutU16(out, kParamText32);
        PutU16(out, static_cast<uint16_t>(utf8.size()));
        out += utf8;
    }
    return out;
}

std::string EncodeEvent(int32_t kind, int32_t code, int32_t shift, int32_t x, int32_t y, int32_t ch) {
    std::string out;
    PutU16(out, kMagicEvent);
    PutU16(out, 6);
    for (int32_t v : {kind, code, shift, x, y, ch}) {
        PutInt(out, v);
    }
    return out;
}

}  // namespace qvhost
