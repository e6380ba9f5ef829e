// TStringBody: the operations Estring and Westring share, written once over
// the unit type (bytes or 32-bit code points): building and copying, indexing,
// searching for one unit, substrings, padding, trimming and appending.
//
// Each string derives from it with itself as TString, so the operations return
// the string's own type, and names the white space of its trims in a static
// IsWhiteSpace(unit). The body holds the buffer as its only member.
#pragma once

#include "base/strings/StringCore.h"

// What indexing a string gives: reads the unit, and stores through SetAt.
template <class TString, class TUnit>
struct TStringCharRef {
    TString* string;
    int index;

    operator TUnit() const { return static_cast<const TString&>(*string)[index]; }
    TStringCharRef& operator=(TUnit unit) {
        string->SetAt(index, unit);
        return *this;
    }
    TStringCharRef& operator=(const TStringCharRef& other) { return *this = (TUnit)other; }
};

template <class TString, class TUnit>
class TStringBody {
public:
    const TUnit* Data() const { return core.data; }
    int Length() const { return core.length; }
    int Capacity() const { return core.capacity; }
    bool IsEmpty() const { return core.length == 0; }

    // n units, need not be terminated.
    void Assign(const TUnit* units, int n) { core.Assign(units, n); }
    void Clear() { core.Clear(); }

    // An index at or past the capacity refers to the last unit of the buffer; a
    // negative index is refused by SetAt and reads as 0.
    TStringCharRef<TString, TUnit> operator[](int index) { return {Self(), core.RefIndex(index)}; }
    TUnit operator[](int index) const { return core.At(index); }
    // Stores one unit; an index past the end extends the string (any gap is
    // filled with blanks); storing 0 inside the string truncates it there.
    // A negative index is refused.
    void SetAt(int index, TUnit unit) { core.SetAt(index, unit); }

    // Searches give an index or -1; unit 0 is never found.
    int Find(TUnit unit) const {
        if (unit == 0)
            return -1;
        for (const TUnit* p = core.data; *p; p++)
            if (*p == unit)
                return (int)(p - core.data);
        return -1;
    }
    int FindLast(TUnit unit) const {
        int found = -1;
        if (unit == 0)
            return found;
        for (const TUnit* p = core.data; *p; p++)
            if (*p == unit)
                found = (int)(p - core.data);
        return found;
    }
    // n counts from 1; 0 gives -1.
    int FindNth(TUnit unit, int n) const {
        if (n <= 0 || unit == 0)
            return -1;
        for (int i = 0; i < core.length; i++)
            if (core.data[i] == unit && --n == 0)
                return i;
        return -1;
    }

    TString Left(int n) const { return Piece(TSubRange::Left(core.length, n)); }
    // count 0 or past the rest: to the end.
    TString Mid(int start, int count) const { return Piece(TSubRange::Mid(core.length, start, count)); }
    TString Right(int n) const { return Piece(TSubRange::Right(core.length, n)); }
    TString DropRight(int n) const { return Piece(TSubRange::DropRight(core.length, n)); }

    // Exactly n units, left-aligned.
    TString Pad(int n, TUnit fill = ' ') const {
        if (n < 0)
            n = 0;
        TString out(n);
        int kept = TSubRange::Left(core.length, n).count;
        out.core.Assign(core.data, kept);
        if (fill)
            out.core.Fill(fill, n - kept);
        return out;
    }
    // Exactly n units, right-aligned.
    TString LPad(int n, TUnit fill = ' ') const {
        if (n < 0)
            n = 0;
        if (n <= core.length)
            return Right(n);
        TString out(n);
        if (fill)
            out.core.Fill(fill, n - core.length);
        out += *Self();
        return out;
    }

    TString TrimLeft() const {
        return Piece(TSubRange::Trim(core.data, core.length, true, false, TString::IsWhiteSpace));
    }
    TString TrimRight() const {
        return Piece(TSubRange::Trim(core.data, core.length, false, true, TString::IsWhiteSpace));
    }
    TString Trim() const { return Piece(TSubRange::Trim(core.data, core.length, true, true, TString::IsWhiteSpace)); }

    TString& operator+=(const TString& other) {
        core.Append(other.core.data, other.core.length);
        return *Self();
    }

protected:
    TStringBody() { core.InitRoom(0); }
    explicit TStringBody(int room) { core.InitRoom(room < 0 ? 0 : room); }
    TStringBody(const TUnit* units, int n) { core.InitCopy(units, n); }
    TStringBody(const TStringBody& other) { core.InitCopy(other.core.data, other.core.length); }
    TStringBody(TStringBody&& other) noexcept { core.InitMove(other.core); }
    ~TStringBody() { core.Release(); }

    TStringBody& operator=(const TStringBody& other) {
        if (this != &other)
            core.Assign(other.core.data, other.core.length);
        return *this;
    }
    TStringBody& operator=(TStringBody&& other) noexcept {
        core.MoveAssign(other.core);
        return *this;
    }

    TString* Self() { return static_cast<TString*>(this); }
    const TString* Self() const { return static_cast<const TString*>(this); }

    TString Piece(TSubRange range) const {
        TString out(range.count);
        out.Assign(core.data + range.start, range.count);
        return out;
    }

    TStringCore<TUnit> core;
};
