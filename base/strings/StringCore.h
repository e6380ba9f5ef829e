// TStringCore: the buffer of Westring and Estring, and the rules they share.
//
// A zero-terminated text of units (32-bit code points or bytes) with room for
// 20 units inside the object. A longer text takes a heap block: exactly n+1
// units when built or assigned, n + n/4 + 1 when appending, so a text built
// unit by unit is copied only a logarithmic number of times. The block never
// shrinks. The string classes hold one core as their only member, so their
// layout is these four fields.
#pragma once

#include <cstring>

template <class TUnit>
struct TStringCore {
    static const int InlineUnits = 21;       // terminator included
    static const int MaxIndex = 0x3FFFFFFF;  // far indexes are refused before the growth could overflow

    TUnit* data;
    int capacity;
    int length;
    TUnit inlineBuffer[InlineUnits];

    static void Copy(TUnit* destination, const TUnit* source, int n) {
        if (n > 0)
            memmove(destination, source, sizeof(TUnit) * n);
    }

    // Constructors: room for n units, inline below 21.
    void InitRoom(int n) {
        if (n < InlineUnits) {
            data = inlineBuffer;
            capacity = InlineUnits;
        } else {
            data = new TUnit[n + 1];
            capacity = n + 1;
        }
        data[0] = 0;
        length = 0;
    }

    void InitCopy(const TUnit* units, int n) {
        InitRoom(n);
        Copy(data, units, n);
        data[n] = 0;
        length = n;
    }

    // Takes the other's heap block, or copies its inline text; the other is left empty.
    void InitMove(TStringCore& other) {
        if (other.data == other.inlineBuffer) {
            data = inlineBuffer;
            Copy(inlineBuffer, other.inlineBuffer, other.length + 1);
        } else {
            data = other.data;
            other.data = other.inlineBuffer;
        }
        capacity = other.capacity;
        length = other.length;
        other.capacity = InlineUnits;
        other.length = 0;
        other.inlineBuffer[0] = 0;
    }

    void MoveAssign(TStringCore& other) {
        if (this == &other)
            return;
        if (other.data == other.inlineBuffer) {
            // An inline text is always shorter than the inline buffer; bounding
            // the length says so to the compiler, which otherwise sees a copy
            // that could run past the other object.
            int n = other.length < InlineUnits ? other.length : InlineUnits - 1;
            Assign(other.inlineBuffer, n);  // keeps our own block, as any assignment
        } else {
            ReleaseBlock();
            data = other.data;
            capacity = other.capacity;
            length = other.length;
            other.data = other.inlineBuffer;
            other.capacity = InlineUnits;
        }
        other.length = 0;
        other.data[0] = 0;
    }

    void ReleaseBlock() {
        if (data && data != inlineBuffer)
            delete[] data;
        data = inlineBuffer;
        capacity = InlineUnits;
    }

    // Assignments: room for n units; the old contents are lost when it grows.
    void RoomDiscarding(int n) {
        if (capacity > n)
            return;
        ReleaseBlock();
        data = new TUnit[n + 1];
        capacity = n + 1;
    }

    // Appends: room for n units keeping the contents.
    void RoomKeeping(int n) {
        if (capacity > n)
            return;
        int newCapacity = n + n / 4 + 1;
        TUnit* block = new TUnit[newCapacity];
        Copy(block, data, capacity);
        ReleaseBlock();
        data = block;
        capacity = newCapacity;
    }

    // The units may lie inside our own buffer: they are shorter than its
    // capacity then, so it does not move.
    void Assign(const TUnit* units, int n) {
        if (n < 0)
            n = 0;
        RoomDiscarding(n);
        Copy(data, units, n);
        data[n] = 0;
        length = n;
    }

    // The units may lie inside our own buffer, which may move as it grows.
    void Append(const TUnit* units, int n) {
        if (n <= 0)
            return;
        long offset = units >= data && units < data + capacity ? (long)(units - data) : -1;
        RoomKeeping(length + n);
        Copy(data + length, offset >= 0 ? data + offset : units, n);
        length += n;
        data[length] = 0;
    }

    void Fill(TUnit unit, int n) {
        if (n <= 0)
            return;
        RoomKeeping(length + n);
        for (int i = 0; i < n; i++)
            data[length + i] = unit;
        length += n;
        data[length] = 0;
    }

    void Clear() {
        data[0] = 0;
        length = 0;
    }

    // What indexing refers to: at or past the capacity, the buffer's last unit.
    int RefIndex(int index) const { return index >= capacity ? capacity - 1 : index; }

    // Nothing past the terminator has a defined value: it reads as 0.
    TUnit At(int index) const {
        index = RefIndex(index);
        return index < 0 || index > length ? 0 : data[index];
    }

    // An index past the end extends the text with blanks up to it; storing 0
    // inside the text truncates it there. Negative and far indexes are refused.
    void SetAt(int index, TUnit unit) {
        if (index < 0 || index > MaxIndex)
            return;
        if (index >= length) {
            RoomKeeping(index + 1);
            for (int i = length; i <= index; i++)
                data[i] = ' ';
            length = index + 1;
            data[length] = 0;
        }
        data[index] = unit;
        if (unit == 0)
            length = index;
    }

    void Release() {
        if (data && data != inlineBuffer)
            delete[] data;
    }
};

// Ranges of the substring operations, with their clamping. Start and count are
// compared unsigned, so negative values count as very large.
struct TSubRange {
    int start;
    int count;

    static TSubRange Left(int length, int n) { return {0, n < 0 ? 0 : n > length ? length : n}; }
    static TSubRange Mid(int length, int start, int count) {
        if ((unsigned)start > (unsigned)length)
            start = length;
        int rest = length - start;
        return {start, count == 0 || (unsigned)count > (unsigned)rest ? rest : count};
    }
    static TSubRange Right(int length, int n) {
        if ((unsigned)n > (unsigned)length)
            n = length;
        return {length - n, n};
    }
    static TSubRange DropRight(int length, int n) {
        if (n < 0)
            n = 0;
        return {0, n >= length ? 0 : length - n};
    }
    template <class TIsWhite, class TUnit>
    static TSubRange Trim(const TUnit* text, int length, bool left, bool right, TIsWhite isWhite) {
        int start = 0, end = length;
        while (left && start < end && isWhite(text[start]))
            start++;
        while (right && end > start && isWhite(text[end - 1]))
            end--;
        return {start, end - start};
    }
};
