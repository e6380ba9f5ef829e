#include "base/strings/Westring.h"

#include <cstring>
#include <cwctype>

#include "base/strings/CaseTable.h"
#include "base/strings/PathRules.h"
#include "base/strings/Utf16String.h"
#include "base/strings/Utf8Codec.h"

bool Westring::IsWhiteSpace(char32_t c) {
    return iswspace((wint_t)(c & 0xFFFF)) != 0;
}

// ---- construction and assignment ----

Westring::Westring(int room) : TStringBody(room) {}

Westring::Westring(const char32_t* text) : TStringBody(text, text ? Str32Length(text) : 0) {}

Westring::Westring(const char* utf8) : TStringBody(utf8 ? (int)strlen(utf8) : 0) {
    if (utf8)
        AssignUtf8(utf8);
}

Westring::Westring(const Estring& latin1) : TStringBody(latin1.Length()) {
    int n = latin1.Length();
    for (int i = 0; i < n; i++)
        core.data[i] = (unsigned char)latin1.Data()[i];
    core.data[n] = 0;
    core.length = n;
}

Westring::Westring(const WCHAR* utf16) {
    AssignUtf16(utf16);
}

Westring::Westring(const char* text, UINT codePage) : TStringBody(text ? (int)strlen(text) : 0) {
    if (text)
        AssignCodePage(text, codePage);
}

Westring& Westring::operator=(const char32_t* text) {
    if (!text)
        Clear();
    else
        core.Assign(text, Str32Length(text));
    return *this;
}

int Westring::AssignUtf8(const char* text) {
    // The result never has more units than the text has bytes.
    core.RoomDiscarding((int)strlen(text));
    char32_t* out = core.data;
    int status = 1;
    const unsigned char* p = (const unsigned char*)text;
    while (*p) {
        TUtf8Step step = DecodeUtf8Step([p](int k) { return (long)p[k]; });
        if (!step.valid) {
            status = 0;  // the byte stays as its Latin-1 character
        } else if (step.code == 0) {
            // An overlong NUL must not end the text early.
            step.code = 0xFFFFFFFF;
            status = 0;
        }
        *out++ = step.code;
        p += step.length;
    }
    *out = 0;
    core.length = (int)(out - core.data);
    return status;
}

int Westring::AssignUtf16(const WCHAR* text) {
    int count = 0;
    for (const WCHAR* p = text; *p; p++, count++)
        if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1]))
            p++;
    core.RoomDiscarding(count);
    char32_t* out = core.data;
    for (const WCHAR* p = text; *p; p++) {
        if (IsHighSurrogate(p[0]) && IsLowSurrogate(p[1])) {
            *out++ = JoinSurrogates(p[0], p[1]);
            p++;
        } else {
            *out++ = (char16_t)p[0];
        }
    }
    *out = 0;
    core.length = count;
    return 1;
}

int Westring::AssignCodePage(const char* text, UINT codePage) {
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

// ---- conversions out ----

void Westring::ToUtf8(Estring& out) const {
    int bytes = 0;
    for (int i = 0; i < core.length; i++)
        bytes += Utf8Length(core.data[i]);
    out.core.RoomDiscarding(core.length + core.length / 4);
    out.core.Clear();
    out.core.RoomKeeping(bytes);
    char* p = out.core.data;
    for (int i = 0; i < core.length; i++)
        p += EncodeUtf8(core.data[i], p);
    *p = 0;
    out.core.length = bytes;
}

Estring Westring::ToLatin1() const {
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

// ---- search ----

int Westring::Find(const Westring& part) const {
    return FindFrom(part, 0);
}

int Westring::FindFrom(const Westring& part, int start) const {
    if (start < 0 || start > core.length)
        return -1;
    const char32_t* p = Str32FindString(core.data + start, part.core.data);
    return p ? (int)(p - core.data) : -1;
}

int Westring::FindNoCase(const Westring& part) const {
    return ToUpper().Find(part.ToUpper());
}

int Westring::FindUnquoted(char32_t unit) const {
    bool quoted = false;
    for (int i = 0; i < core.length; i++) {
        if (core.data[i] == '"')
            quoted = !quoted;
        else if (!quoted && core.data[i] == unit)
            return i;
    }
    return -1;
}

// ---- case ----

Westring Westring::ToUpper() const {
    Westring out(*this);
    CCaseTable::Instance().UpperInPlace(out.core.data);
    return out;
}

Westring Westring::ToLower() const {
    Westring out(*this);
    CCaseTable::Instance().LowerInPlace(out.core.data);
    return out;
}

// ---- replacing ----

int Westring::ReplaceFirst(const Westring& search, const Westring& replacement) {
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

int Westring::ReplaceAll(const Westring& search, const Westring& replacement) {
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

Westring& Westring::operator+=(char latin1) {
    return AppendChar((unsigned char)latin1);
}

Westring& Westring::AppendChar(char32_t unit) {
    core.Fill(unit, 1);
    return *this;
}

Westring operator+(const Westring& a, const Westring& b) {
    Westring out(a.Length() + b.Length());
    out = a;
    out += b;
    return out;
}

Westring operator+(const char32_t* a, const Westring& b) {
    return Westring(a) + b;
}

Westring operator+(const Westring& a, const char32_t* b) {
    return a + Westring(b);
}

Westring RepeatChar32(char32_t unit, int n) {
    return Westring().Pad(n, unit);
}

// ---- comparison ----

int Westring::operator==(const Westring& other) const {
    return Str32CompareNoCase(core.data, other.core.data) == 0;
}

int Westring::operator==(const char32_t* other) const {
    return Str32CompareNoCase(core.data, other) == 0;
}

int Westring::operator!=(const Westring& other) const {
    return !(*this == other);
}

int Westring::operator!=(const char32_t* other) const {
    return !(*this == other);
}

bool Westring::EqualsNoCase(const Westring& other) const {
    return Str32CompareNoCase(core.data, other.core.data) == 0;
}

bool Westring::EqualsExact(const Westring& other) const {
    return Str32Compare(core.data, other.core.data) == 0;
}

// ---- paths ----

Westring AddTrailingBackslash(const Westring& path) {
    return AddTrailingBackslashOf(path);
}
Westring RemoveTrailingBackslash(const Westring& path) {
    return RemoveTrailingBackslashOf(path);
}
Westring ExtractFileName(const Westring& path) {
    return ExtractFileNameOf(path);
}
Westring ExtractDirectory(const Westring& path) {
    return ExtractDirectoryOf(path);
}
