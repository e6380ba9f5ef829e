#include "console/ParameterList.h"

namespace {

uint32_t U16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0] | (p[1] << 8));
}

// Text of n bytes (not terminated) decoded from UTF-8; stops at a NUL.
Westring DecodeUtf8(const uint8_t* bytes, uint32_t n) {
    Estring copy;
    copy.Assign(reinterpret_cast<const char*>(bytes), static_cast<int>(n));
    return Westring(copy.Data());
}

}  // namespace

void CParameterList::AddInteger(int32_t value) {
    Add(new CIntegerParameter(value));
}
void CParameterList::AddString(const Estring& text) {
    Add(new CStringParameter(text));
}
void CParameterList::AddUnicodeString(const Westring& text) {
    Add(new CUnicodeStringParameter(text));
}
void CParameterList::AddAttribute(uint8_t attribute) {
    Add(new CAttributeParameter(attribute));
}
void CParameterList::AddCellString(const CellString& cells) {
    Add(new CCellStringParameter(cells));
}

bool CParameterList::GetInteger(int index, int32_t& value) const {
    return index >= 0 && index < Count() && GetIntegerParameter(At(index), value);
}

bool ParseParameter(CParameterList& list, const uint8_t*& cursor, uint32_t& remaining) {
    if (remaining < 4) {
        return false;
    }
    const uint32_t type = U16(cursor);
    const uint32_t length = U16(cursor + 2);
    if (type > CParameter::TypeCellString || length > remaining - 4) {
        return false;
    }
    const uint8_t* payload = cursor + 4;
    switch (type) {
    case CParameter::TypeInteger:
        // Up to four bytes, zero-extended; a longer payload is no integer.
        if (length <= 4) {
            uint32_t value = 0;
            for (uint32_t i = 0; i < length; ++i) {
                value |= static_cast<uint32_t>(payload[i]) << (8 * i);
            }
            list.AddInteger(static_cast<int32_t>(value));
        }
        break;
    case CParameter::TypeString: {
        uint32_t n = 0;
        while (n < length && payload[n] != 0) {
            ++n;
        }
        Estring text;
        text.Assign(reinterpret_cast<const char*>(payload), static_cast<int>(n));
        list.AddString(text);
        break;
    }
    case CParameter::TypeUnicodeString: list.AddUnicodeString(DecodeUtf8(payload, length)); break;
    case CParameter::TypeAttribute:
        if (length == 1) {
            list.AddAttribute(payload[0]);
        }
        break;
    case CParameter::TypeCellString: {
        // Text up to the NUL, then one attribute byte per character; a
        // record too short to hold them all is dropped.
        uint32_t nul = 0;
        while (nul < length && payload[nul] != 0) {
            ++nul;
        }
        Westring text = DecodeUtf8(payload, nul);
        const uint32_t count = static_cast<uint32_t>(text.Length());
        if (nul < length && length - nul - 1 >= count) {
            CellString cells(static_cast<int>(count));
            for (uint32_t i = 0; i < count; ++i) {
                cells += TCell{text[static_cast<int>(i)], payload[nul + 1 + i]};
            }
            list.AddCellString(cells);
        }
        break;
    }
    }
    cursor += 4 + length;
    remaining -= 4 + length;
    return true;
}
