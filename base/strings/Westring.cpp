#include "base/strings/Westring.h"

#include <cstring>
#include <cwctype>

#include "base/strings/CaseTable.h"
#include "base/strings/PathRules.h"
#include "base/strings/Utf16String.h"

namespace {

bool IsWhiteSpace(char32_t c)
{
    return iswspace((wint_t)(c & 0xFFFF)) != 0;
}

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

int Utf8Size(char32_t c)
{
    return c <= 0x7F ? 1 : c <= 0x7FF ? 2 : c <= 0xFFFF ? 3 : 4;
}

} // namespace

// ---- construction and assignment ----

Westring::Westring()
{
    core.InitRoom(0);
}

Westring::Westring(int room)
{
    core.InitRoom(room < 0 ? 0 : room);
}

Westring::Westring(const char32_t* text)
{
    core.InitCopy(text, text ? Str32Length(text) : 0);
}

Westring::Westring(const Westring& other)
{
    core.InitCopy(other.core.data, other.core.length);
}

Westring::Westring(Westring&& other) noexcept
{
    core.InitMove(other.core);
}

Westring::Westring(const char* utf8)
{
    core.InitRoom(utf8 ? (int)strlen(utf8) : 0);
    if (utf8)
        AssignUtf8(utf8);
}

Westring::Westring(const Estring& latin1)
{
    int n = latin1.Length();
    core.InitRoom(n);
    for (int i = 0; i < n; i++)
        core.data[i] = (unsigned char)latin1.Data()[i];
    core.data[n] = 0;
    core.length = n;
}

Westring::Westring(const WCHAR* utf16)
{
    core.InitRoom(0);
    AssignUtf16(utf16);
}

Westring::Westring(const char* text, UINT codePage)
{
    core.InitRoom(text ? (int)strlen(text) : 0);
    if (text)
        AssignCodePage(text, codePage);
}

Westring::~Westring()
{
    core.Release();
}

Westring& Westring::operator=(const Westring& other)
{
    if (this != &other)
        core.Assign(other.core.data, other.core.length);
    return *this;
}

Westring& Westring::operator=(Westring&& other) noexcept
{
    core.MoveAssign(other.core);
    return *this;
}

Westring& Westring::operator=(const char32_t* text)
{
    if (!text)
        Clear();
    else
        core.Assign(text, Str32Length(text));
    return *this;
}

void Westring::Assign(const char32_t* units, int n)
{
    core.Assign(units, n);
}

int Westring::AssignUtf8(const char* text)
{
    // The result never has more units than the text has bytes.
    core.RoomDiscarding((int)strlen(text));
    char32_t* out = core.data;
    int status = 1;
    const unsigned char* p = (const unsigned char*)text;
    while (*p) {
        unsigned char b0 = p[0];
        if (b0 < 0x80) {
            *out++ = b0;
            p++;
            continue;
        }
        // Each further byte is looked at only when the one before it was a
        // continuation byte, so the terminator is never passed.
        char32_t value = 0;
        int used = 0;
        if (!IsContinuation(p[1])) {
        } else if ((b0 & 0xE0) == 0xC0) {
            value = ((char32_t)(b0 & 0x1F) << 6) | (p[1] & 0x3F);
            used = 2;
        } else if (!IsContinuation(p[2])) {
        } else if ((b0 & 0xF0) == 0xE0) {
            value = ((char32_t)(b0 & 0x0F) << 12) | ((char32_t)(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            used = 3;
        } else if (IsContinuation(p[3]) && (b0 & 0xF8) == 0xF0) {
            value = ((char32_t)(b0 & 0x07) << 18) | ((char32_t)(p[1] & 0x3F) << 12) |
                    ((char32_t)(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            used = 4;
        }
        if (used == 0) {
            *out++ = b0;  // Latin-1
            status = 0;
            p++;
            continue;
        }
        if (value == 0) {
            // An overlong NUL must not end the text early.
            value = 0xFFFFFFFF;
            status = 0;
        }
        *out++ = value;
        p += used;
    }
    *out = 0;
    core.length = (int)(out - core.data);
    return status;
}

static bool IsHighSurrogate(WCHAR u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

static bool IsLowSurrogate(WCHAR u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

int Westring::AssignUtf16(const WCHAR* text)
{
    int count = 0;
    for (const WCHAR* p = text; *p; p++, count++)
        if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1]))
            p++;
    core.RoomDiscarding(count);
    char32_t* out = core.data;
    for (const WCHAR* p = text; *p; p++) {
        if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1])) {
            *out++ = ((((char32_t)p[0] & 0x3FF) << 10) | ((char32_t)p[1] & 0x3FF)) + 0x10000;
            p++;
        } else {
            *out++ = (char16_t)p[0];
        }
    }
    *out = 0;
    core.length = count;
    return 1;
}

int Westring::AssignCodePage(const char* text, UINT codePage)
{
    // The conversion tells the room it needs, so no text is lost to a short buffer.
    int units = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (units < 1) {
        Clear();
        return 1;
    }
    Utf16String wide;
    wide.Reserve(units);
    int written = MultiByteToWideChar(codePage, 0, text, -1, wide.Data(), units);
    if (written < 1) {
        Clear();
        return 1;
    }
    wide.Data()[written - 1] = 0;
    AssignUtf16(wide.Data());
    return 1;
}

void Westring::Clear()
{
    core.Clear();
}

// ---- conversions out ----

void Westring::ToUtf8(Estring& out) const
{
    int bytes = 0;
    for (int i = 0; i < core.length; i++)
        bytes += Utf8Size(core.data[i]);
    out.core.RoomDiscarding(core.length + core.length / 4);
    out.core.Clear();
    out.core.RoomKeeping(bytes);
    unsigned char* p = (unsigned char*)out.core.data;
    for (int i = 0; i < core.length; i++) {
        char32_t c = core.data[i];
        switch (Utf8Size(c)) {
        case 1:
            *p++ = (unsigned char)c;
            break;
        case 2:
            *p++ = (unsigned char)(0xC0 | (c >> 6));
            *p++ = (unsigned char)(0x80 | (c & 0x3F));
            break;
        case 3:
            *p++ = (unsigned char)(0xE0 | (c >> 12));
            *p++ = (unsigned char)(0x80 | ((c >> 6) & 0x3F));
            *p++ = (unsigned char)(0x80 | (c & 0x3F));
            break;
        default:
            *p++ = (unsigned char)(0xF0 | (c >> 18));
            *p++ = (unsigned char)(0x80 | ((c >> 12) & 0x3F));
            *p++ = (unsigned char)(0x80 | ((c >> 6) & 0x3F));
            *p++ = (unsigned char)(0x80 | (c & 0x3F));
            break;
        }
    }
    *p = 0;
    out.core.length = bytes;
}

Estring Westring::ToLatin1() const
{
    Estring out(core.length);
    int n = 0;
    // A unit whose low byte is 0 ends the 8-bit text there.
    while (n < core.length && (core.data[n] & 0xFF) != 0) {
        out.core.data[n] = (char)(core.data[n] & 0xFF);
        n++;
    }
    out.core.data[n] = 0;
    out.core.length = n;
    return out;
}

// ---- element access ----

TWestringCharRef::operator char32_t() const
{
    return static_cast<const Westring&>(*string)[index];
}

TWestringCharRef& TWestringCharRef::operator=(char32_t unit)
{
    string->SetAt(index, unit);
    return *this;
}

TWestringCharRef& TWestringCharRef::operator=(const TWestringCharRef& other)
{
    return *this = (char32_t)other;
}

TWestringCharRef Westring::operator[](int index)
{
    return TWestringCharRef{this, core.RefIndex(index)};
}

char32_t Westring::operator[](int index) const
{
    return core.At(index);
}

void Westring::SetAt(int index, char32_t unit)
{
    core.SetAt(index, unit);
}

// ---- search ----

int Westring::Find(char32_t unit) const
{
    const char32_t* p = Str32FindChar(core.data, unit);
    return p ? (int)(p - core.data) : -1;
}

int Westring::FindLast(char32_t unit) const
{
    const char32_t* p = Str32FindLastChar(core.data, unit);
    return p ? (int)(p - core.data) : -1;
}

int Westring::Find(const Westring& part) const
{
    return FindFrom(part, 0);
}

int Westring::FindFrom(const Westring& part, int start) const
{
    if (start < 0 || start > core.length)
        return -1;
    const char32_t* p = Str32FindString(core.data + start, part.core.data);
    return p ? (int)(p - core.data) : -1;
}

int Westring::FindNoCase(const Westring& part) const
{
    return ToUpper().Find(part.ToUpper());
}

int Westring::FindNth(char32_t unit, int n) const
{
    if (n <= 0 || unit == 0)
        return -1;
    for (int i = 0; i < core.length; i++)
        if (core.data[i] == unit && --n == 0)
            return i;
    return -1;
}

int Westring::FindUnquoted(char32_t unit) const
{
    bool quoted = false;
    for (int i = 0; i < core.length; i++) {
        if (core.data[i] == '"')
            quoted = !quoted;
        else if (!quoted && core.data[i] == unit)
            return i;
    }
    return -1;
}

// ---- substrings ----

static Westring Piece(const char32_t* data, TSubRange range)
{
    Westring out(range.count);
    out.Assign(data + range.start, range.count);
    return out;
}

Westring Westring::Left(int n) const
{
    return Piece(core.data, TSubRange::Left(core.length, n));
}

Westring Westring::Mid(int start, int count) const
{
    return Piece(core.data, TSubRange::Mid(core.length, start, count));
}

Westring Westring::Right(int n) const
{
    return Piece(core.data, TSubRange::Right(core.length, n));
}

Westring Westring::DropRight(int n) const
{
    return Piece(core.data, TSubRange::DropRight(core.length, n));
}

Westring Westring::Pad(int n, char32_t fill) const
{
    if (n < 0)
        n = 0;
    Westring out(n);
    int kept = TSubRange::Left(core.length, n).count;
    out.core.Assign(core.data, kept);
    if (fill)
        out.core.Fill(fill, n - kept);
    return out;
}

Westring Westring::LPad(int n, char32_t fill) const
{
    if (n < 0)
        n = 0;
    if (n <= core.length)
        return Right(n);
    Westring out(n);
    if (fill)
        out.core.Fill(fill, n - core.length);
    return out += *this;
}

Westring Westring::TrimLeft() const
{
    return Piece(core.data, TSubRange::Trim(core.data, core.length, true, false, IsWhiteSpace));
}

Westring Westring::TrimRight() const
{
    return Piece(core.data, TSubRange::Trim(core.data, core.length, false, true, IsWhiteSpace));
}

Westring Westring::Trim() const
{
    return Piece(core.data, TSubRange::Trim(core.data, core.length, true, true, IsWhiteSpace));
}

Westring Westring::ToUpper() const
{
    Westring out(*this);
    CCaseTable::Instance().UpperInPlace(out.core.data);
    return out;
}

Westring Westring::ToLower() const
{
    Westring out(*this);
    CCaseTable::Instance().LowerInPlace(out.core.data);
    return out;
}

// ---- replacing ----

int Westring::ReplaceFirst(const Westring& search, const Westring& replacement)
{
    if (search.IsEmpty())
        return 0;
    int at = Find(search);
    if (at < 0)
        return 0;
    Westring out(core.length - search.core.length + replacement.core.length);
    out.core.Assign(core.data, at);
    out += replacement;
    out.core.Append(core.data + at + search.core.length, core.length - at - search.core.length);
    *this = static_cast<Westring&&>(out);
    return 1;
}

int Westring::ReplaceAll(const Westring& search, const Westring& replacement)
{
    // An empty search text would match everywhere without moving on.
    if (search.IsEmpty())
        return 0;
    int at = FindFrom(search, 0);
    if (at < 0)
        return 0;
    // Searching on past each match in the original text is the same as going
    // on after the inserted replacement, and builds the result in one pass.
    Westring out(core.length);
    int from = 0;
    while (at >= 0) {
        out.core.Append(core.data + from, at - from);
        out += replacement;
        from = at + search.core.length;
        at = FindFrom(search, from);
    }
    out.core.Append(core.data + from, core.length - from);
    *this = static_cast<Westring&&>(out);
    return 1;
}

// ---- appending ----

Westring& Westring::operator+=(const Westring& other)
{
    core.Append(other.core.data, other.core.length);
    return *this;
}

Westring& Westring::operator+=(char latin1)
{
    return AppendChar((unsigned char)latin1);
}

Westring& Westring::AppendChar(char32_t unit)
{
    core.Fill(unit, 1);
    return *this;
}

Westring operator+(const Westring& a, const Westring& b)
{
    Westring out(a.Length() + b.Length());
    out = a;
    out += b;
    return out;
}

Westring operator+(const char32_t* a, const Westring& b)
{
    return Westring(a) + b;
}

Westring operator+(const Westring& a, const char32_t* b)
{
    return a + Westring(b);
}

Westring RepeatChar32(char32_t unit, int n)
{
    return Westring().Pad(n, unit);
}

// ---- comparison ----

int Westring::operator==(const Westring& other) const
{
    return Str32CompareNoCase(core.data, other.core.data) == 0;
}

int Westring::operator==(const char32_t* other) const
{
    return Str32CompareNoCase(core.data, other) == 0;
}

int Westring::operator!=(const Westring& other) const
{
    return !(*this == other);
}

int Westring::operator!=(const char32_t* other) const
{
    return !(*this == other);
}

bool Westring::EqualsNoCase(const Westring& other) const
{
    return Str32CompareNoCase(core.data, other.core.data) == 0;
}

bool Westring::EqualsExact(const Westring& other) const
{
    return Str32Compare(core.data, other.core.data) == 0;
}

// ---- paths ----

Westring AddTrailingBackslash(const Westring& path)
{
    return AddTrailingBackslashOf(path);
}

Westring RemoveTrailingBackslash(const Westring& path)
{
    return RemoveTrailingBackslashOf(path);
}

Westring ExtractFileName(const Westring& path)
{
    return ExtractFileNameOf(path);
}

Westring ExtractDirectory(const Westring& path)
{
    return ExtractDirectoryOf(path);
}
