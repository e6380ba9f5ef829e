// The five kinds of parameter record that travel in the console frames, each
// holding its value and writing its wire form (u16 length, then the payload;
// the u16 type before it is written by the caller from GetType).
#pragma once

#include <cstdint>

#include "base/io/StdFile.h"
#include "base/strings/CellString.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

class CParameter {
public:
    enum { TypeInteger = 0, TypeString = 1, TypeUnicodeString = 2, TypeAttribute = 3, TypeCellString = 4 };

    virtual ~CParameter() = default;
    virtual int GetType() const = 0;
    // The u16 length and the payload; a payload longer than a record can carry
    // is cut (texts at a character boundary). Errors stay in the file.
    virtual void WriteData(StdFile& out) const = 0;
};

class CIntegerParameter : public CParameter {
public:
    explicit CIntegerParameter(int32_t value) : value(value) {}
    int GetType() const override { return TypeInteger; }
    void WriteData(StdFile& out) const override;
    int32_t value;
};

// 8-bit text, sent as its bytes.
class CStringParameter : public CParameter {
public:
    explicit CStringParameter(const Estring& value) : value(value) {}
    int GetType() const override { return TypeString; }
    void WriteData(StdFile& out) const override;
    Estring value;
};

// 32-bit text, sent as UTF-8.
class CUnicodeStringParameter : public CParameter {
public:
    explicit CUnicodeStringParameter(const Westring& value) : value(value) {}
    int GetType() const override { return TypeUnicodeString; }
    void WriteData(StdFile& out) const override;
    Westring value;
};

class CAttributeParameter : public CParameter {
public:
    explicit CAttributeParameter(uint8_t value) : value(value) {}
    int GetType() const override { return TypeAttribute; }
    void WriteData(StdFile& out) const override;
    uint8_t value;
};

// Cells: their characters as UTF-8, a NUL, then one attribute byte per cell.
// A cell whose character is 0 would end the text early, so it goes as a blank.
class CCellStringParameter : public CParameter {
public:
    explicit CCellStringParameter(const CellString& value) : value(value) {}
    int GetType() const override { return TypeCellString; }
    void WriteData(StdFile& out) const override;
    CellString value;
};

// Read one parameter: false, and the out-value untouched, when the parameter
// is of another kind (or null).
bool GetIntegerParameter(const CParameter* parameter, int32_t& value);
bool GetStringParameter(const CParameter* parameter, Estring& value);
bool GetUnicodeStringParameter(const CParameter* parameter, Westring& value);
bool GetAttributeParameter(const CParameter* parameter, uint8_t& value);
bool GetCellStringParameter(const CParameter* parameter, CellString& value);

// The wire payload of a cell run (UTF-8 text, NUL, attributes), for sizing
// requests before they are sent.
uint32_t CellPayloadLength(const TCell* cells, int count);
