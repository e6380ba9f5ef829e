#include "base/strings/Estring.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/strings/PathRules.h"
#include "base/strings/Utf16String.h"
#include "base/strings/Westring.h"

bool Estring::IsWhiteSpace(char c) {
    return isspace((unsigned char)c) != 0;
}

namespace {

// Case folding of the C locale: only ASCII letters have a case.
int AsciiLower(char c) {
    unsigned char b = (unsigned char)c;
    return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

int CompareNoCase(const char* a, const char* b) {
    for (;; a++, b++) {
        int la = AsciiLower(*a);
        int lb = AsciiLower(*b);
        if (la != lb || !la)
            return la - lb;
    }
}

}  // namespace

// ---- construction and assignment ----

Estring::Estring(const char* text) : TStringBody(text, text ? (int)strlen(text) : 0) {}

Estring::Estring(int room) : TStringBody(room) {}

Estring::Estring(const Westring& text) {
    text.ToUtf8(*this);
}

Estring::Estring(const Westring& text, UINT codePage) {
    Utf16String wide(text);
    // Asking the conversion for its size first: a multi-byte code page may need
    // more bytes than the text has characters.
    int bytes = WideCharToMultiByte(codePage, 0, wide.Data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes < 1)
        return;
    core.RoomDiscarding(bytes);
    int written = WideCharToMultiByte(codePage, 0, wide.Data(), -1, core.data, bytes, nullptr, nullptr);
    if (written < 1) {
        Clear();
        return;
    }
    core.data[written - 1] = 0;
    core.length = (int)strlen(core.data);
}

Estring& Estring::operator=(const char* text) {
    if (!text)
        Clear();
    else
        core.Assign(text, (int)strlen(text));
    return *this;
}

Estring& Estring::operator+=(const char* text) {
    if (text)
        core.Append(text, (int)strlen(text));
    return *this;
}

Estring& Estring::operator+=(char byte) {
    // A zero byte would end the text inside its own length.
    if (byte != 0)
        core.Fill(byte, 1);
    return *this;
}

Estring& Estring::Format(const char* format, ...) {
    char buffer[FormatLimit + 1];
    memset(buffer, 0, sizeof buffer);
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return *this = buffer;
}

// ---- case ----

Estring Estring::ToLower() const {
    Estring out(*this);
    for (int i = 0; i < out.core.length; i++)
        out.core.data[i] = (char)AsciiLower(out.core.data[i]);
    return out;
}

// ---- comparison ----

int Estring::operator==(const Estring& other) const {
    return CompareNoCase(core.data, other.core.data) == 0;
}
int Estring::operator==(const char* other) const {
    return CompareNoCase(core.data, other) == 0;
}
int Estring::operator!=(const Estring& other) const {
    return CompareNoCase(core.data, other.core.data) != 0;
}
int Estring::operator!=(const char* other) const {
    return CompareNoCase(core.data, other) != 0;
}
int Estring::operator<(const Estring& other) const {
    return CompareNoCase(core.data, other.core.data) < 0;
}
int Estring::operator<(const char* other) const {
    return CompareNoCase(core.data, other) < 0;
}
int Estring::operator>(const Estring& other) const {
    return CompareNoCase(core.data, other.core.data) > 0;
}
int Estring::operator>(const char* other) const {
    return CompareNoCase(core.data, other) > 0;
}
int Estring::operator<=(const Estring& other) const {
    return CompareNoCase(core.data, other.core.data) <= 0;
}
int Estring::operator<=(const char* other) const {
    return CompareNoCase(core.data, other) <= 0;
}
int Estring::operator>=(const Estring& other) const {
    return CompareNoCase(core.data, other.core.data) >= 0;
}
int Estring::operator>=(const char* other) const {
    return CompareNoCase(core.data, other) >= 0;
}

// ---- concatenation ----

Estring operator+(const char* a, const Estring& b) {
    Estring out((a ? (int)strlen(a) : 0) + b.Length());
    out += a;
    return out += b;
}

Estring operator+(const Estring& a, const char* b) {
    Estring out(a.Length() + (b ? (int)strlen(b) : 0));
    out += a;
    return out += b;
}

Estring operator+(const Estring& a, const Estring& b) {
    Estring out(a.Length() + b.Length());
    out += a;
    return out += b;
}

// ---- shaping helpers ----

Estring RepeatChar(char byte, int n) {
    return Estring().Pad(n < 1 ? 0 : n, byte);
}

Estring FieldToEstring(const void* field, int n) {
    const char* bytes = (const char*)field;
    int end = 0;
    while (end < n && bytes[end])
        end++;
    while (end > 0 && isspace((unsigned char)bytes[end - 1]))
        end--;
    Estring out(end);
    out.Assign(bytes, end);
    return out;
}

Estring ExpandTabs(const char* text, int tabSize) {
    if (tabSize < 1)
        tabSize = 1;  // a tab size of 0 would divide by zero
    Estring out;
    int column = 0;
    for (; *text; text++) {
        if (*text == '\t') {
            int blanks = tabSize - column % tabSize - 1;
            out += RepeatChar(' ', blanks);
            column += blanks;
        } else {
            out += *text;
            column++;
        }
    }
    return out;
}

// ---- paths ----

Estring AddTrailingBackslash(const Estring& path) {
    return AddTrailingBackslashOf(path);
}
Estring RemoveTrailingBackslash(const Estring& path) {
    return RemoveTrailingBackslashOf(path);
}
Estring ExtractFileName(const Estring& path) {
    return ExtractFileNameOf(path);
}
Estring ExtractDirectory(const Estring& path) {
    return ExtractDirectoryOf(path);
}

// ---- splitting ----

bool SplitKeyValue(const Estring& text, char separator, Estring& key, Estring& value) {
    int at = text.Find(separator);
    int comment = text.Find(';');
    if (at < 0 || (comment >= 0 && comment < at)) {
        key = text;
        value.Clear();
        return false;
    }
    key = text.Left(at).Trim();
    Estring rest = text.Mid(at + 1, 0);
    int restComment = rest.Find(';');
    if (restComment >= 0)
        rest = rest.Left(restComment);
    value = rest.Trim();
    return true;
}

bool SplitKeyValue(const char* text, char separator, char* key, char* value) {
    Estring k, v;
    bool ok = SplitKeyValue(Estring(text), separator, k, v);
    strcpy(key, k.Data());
    strcpy(value, v.Data());
    return ok;
}

// ---- numbers ----

static Estring MagnitudeToEstring(uint64_t magnitude, bool negative, int radix) {
    if (radix < 2 || radix > 36)
        return Estring();
    char digits[66];
    int at = sizeof digits;
    digits[--at] = 0;
    do {
        int d = (int)(magnitude % (unsigned)radix);
        digits[--at] = (char)(d < 10 ? '0' + d : 'A' + d - 10);
        magnitude /= (unsigned)radix;
    } while (magnitude > 0);
    if (negative)
        digits[--at] = '-';
    return Estring(digits + at);
}

Estring Int64ToEstring(int64_t value, int radix) {
    // The magnitude is taken unsigned, so the most negative value has one too.
    uint64_t magnitude = value < 0 ? 0 - (uint64_t)value : (uint64_t)value;
    return MagnitudeToEstring(magnitude, value < 0, radix);
}

Estring IntToEstring(int32_t value, int radix) {
    return Int64ToEstring(value, radix);
}

Estring UIntToEstring(uint32_t value, int radix) {
    return Int64ToEstring((int64_t)value, radix);
}

// ---- system error text ----

Estring FormatSystemErrorA(DWORD code) {
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | 80;
    char buffer[501];
    buffer[0] = 0;
    if (FormatMessageA(flags, nullptr, code, 0, buffer, sizeof buffer, nullptr) == 0)
        buffer[0] = 0;
    buffer[sizeof buffer - 1] = 0;
    // Line breaks become single blanks: a break beside a blank simply goes.
    static const char lineBreaks[] = {'\r', '\n'};
    for (char lineBreak : lineBreaks) {
        char* p;
        while ((p = strchr(buffer, lineBreak)) != nullptr) {
            if (p[1] == ' ' || (p > buffer && p[-1] == ' '))
                memmove(p, p + 1, strlen(p + 1) + 1);
            else
                *p = ' ';
        }
    }
    return Estring(buffer) + " (" + IntToEstring((int32_t)code) + ")";
}
