#include "console/Parameter.h"

#include "base/strings/Utf8Codec.h"
#include "console/ConsoleProtocol.h"

#include <string>

namespace {

void PutU16(StdFile& out, uint32_t value) {
    unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>(value >> 8)};
    out.Write(bytes, 2);
}

// The longest prefix of UTF-8 text that fits a record without splitting a
// character (continuation bytes are 10xxxxxx).
uint32_t FitUtf8(const char* text, uint32_t length) {
    if (length <= ConsoleMaxPayload) {
        return length;
    }
    uint32_t n = ConsoleMaxPayload;
    while (n > 0 && IsUtf8Continuation(static_cast<unsigned char>(text[n]))) {
        --n;
    }
    return n;
}

char32_t WireChar(char32_t c) {
    return c == 0 ? U' ' : c;
}

}  // namespace

void CIntegerParameter::WriteData(StdFile& out) const {
    uint32_t v = static_cast<uint32_t>(value);
    unsigned char bytes[6] = {4,
                              0,
                              static_cast<unsigned char>(v),
                              static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16),
                              static_cast<unsigned char>(v >> 24)};
    out.Write(bytes, 6);
}

void CStringParameter::WriteData(StdFile& out) const {
    uint32_t n = static_cast<uint32_t>(value.Length());
    if (n > ConsoleMaxPayload) {
        n = ConsoleMaxPayload;
    }
    PutU16(out, n);
    out.Write(value.Data(), n);
}

void CUnicodeStringParameter::WriteData(StdFile& out) const {
    Estring utf8;
    value.ToUtf8(utf8);
    uint32_t n = FitUtf8(utf8.Data(), static_cast<uint32_t>(utf8.Length()));
    PutU16(out, n);
    out.Write(utf8.Data(), n);
}

void CAttributeParameter::WriteData(StdFile& out) const {
    unsigned char bytes[3] = {1, 0, value};
    out.Write(bytes, 3);
}

uint32_t CellPayloadLength(const TCell* cells, int count) {
    uint32_t total = 1;
    for (int i = 0; i < count; ++i) {
        total += Utf8Length(WireChar(cells[i].character)) + 1;
    }
    return total;
}

void CCellStringParameter::WriteData(StdFile& out) const {
    // As many cells as fit one record.
    int count = 0;
    uint32_t total = 1;
    for (; count < value.Length(); ++count) {
        uint32_t more = Utf8Length(WireChar(value.Data()[count].character)) + 1;
        if (total + more > ConsoleMaxPayload) {
            break;
        }
        total += more;
    }
    // The record is built whole and written at once: a child's output sends
    // rows of cells by the thousand.
    std::string record(2 + total, '\0');
    char* at = &record[0];
    *at++ = static_cast<char>(total & 0xFF);
    *at++ = static_cast<char>(total >> 8);
    for (int i = 0; i < count; ++i) {
        at += EncodeUtf8(WireChar(value.Data()[i].character), at);
    }
    *at++ = '\0';
    for (int i = 0; i < count; ++i) {
        *at++ = static_cast<char>(value.Data()[i].attribute);
    }
    out.Write(record.data(), static_cast<uint32_t>(record.size()));
}

bool GetIntegerParameter(const CParameter* parameter, int32_t& value) {
    if (parameter == nullptr || parameter->GetType() != CParameter::TypeInteger) {
        return false;
    }
    value = static_cast<const CIntegerParameter*>(parameter)->value;
    return true;
}

bool GetStringParameter(const CParameter* parameter, Estring& value) {
    if (parameter == nullptr || parameter->GetType() != CParameter::TypeString) {
        return false;
    }
    value = static_cast<const CStringParameter*>(parameter)->value;
    return true;
}

bool GetUnicodeStringParameter(const CParameter* parameter, Westring& value) {
    if (parameter == nullptr || parameter->GetType() != CParameter::TypeUnicodeString) {
        return false;
    }
    value = static_cast<const CUnicodeStringParameter*>(parameter)->value;
    return true;
}

bool GetAttributeParameter(const CParameter* parameter, uint8_t& value) {
    if (parameter == nullptr || parameter->GetType() != CParameter::TypeAttribute) {
        return false;
    }
    value = static_cast<const CAttributeParameter*>(parameter)->value;
    return true;
}

bool GetCellStringParameter(const CParameter* parameter, CellString& value) {
    if (parameter == nullptr || parameter->GetType() != CParameter::TypeCellString) {
        return false;
    }
    value = static_cast<const CCellStringParameter*>(parameter)->value;
    return true;
}
