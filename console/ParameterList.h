// CParameterList: the parameter records of one frame, in wire order, owned.
// Every request builds one; every frame received is decoded into one.
#pragma once

#include <cstdint>

#include "base/containers/ObjectStore.h"
#include "console/Parameter.h"

class CParameterList : public TObjectStore<CParameter> {
public:
    CParameterList() = default;
    CParameterList(const CParameterList&) = delete;
    CParameterList& operator=(const CParameterList&) = delete;

    void AddInteger(int32_t value);
    void AddString(const Estring& text);
    void AddUnicodeString(const Westring& text);
    void AddAttribute(uint8_t attribute);
    void AddCellString(const CellString& cells);

    // The integer at the index; false when there is none or it is of another kind.
    bool GetInteger(int index, int32_t& value) const;
};

// Decodes one received record at the cursor into the list (or skips it, for
// payloads that add no parameter) and advances the cursor past it. False, with
// nothing taken, when fewer than 4 bytes remain, the type is above 4 or the
// length runs past the remaining bytes.
bool ParseParameter(CParameterList& list, const uint8_t*& cursor, uint32_t& remaining);
