#include "base/strings/QuoteFileName.h"

namespace {

bool IsControl(char32_t c) {
    return c < 0x20 || c == 0x7f;
}

bool HoldsAny(const Westring& name, const char* set) {
    for (int i = 0; i < name.Length(); i++) {
        char32_t c = name[i];
        if (IsControl(c)) {
            return true;
        }
        for (const char* p = set; *p; p++) {
            if (c == static_cast<unsigned char>(*p)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

Westring QuoteFileName(const Westring& name) {
    static const char32_t needsQuotes[] = {' ', '%', '&', '+', ','};
    bool quote = name.Length() > 0 && name[0] == '-';
    for (char32_t c : needsQuotes) {
        quote = quote || name.Find(c) >= 0;
    }
    if (!quote) {
        return name;
    }
    return Westring("\"") + name + Westring("\"");
}

Westring StripQuotes(const Westring& text) {
    Westring out;
    bool quoted = false;
    for (int i = 0; i < text.Length(); i++) {
        char32_t c = text[i];
        if (c != '"') {
            out.AppendChar(c);
        } else if (quoted && i + 1 < text.Length() && text[i + 1] == '"') {
            out.AppendChar('"');
            i++;
        } else {
            quoted = !quoted;
        }
    }
    return out;
}

Westring QuoteArgument(const Westring& name) {
    // Besides blanks and quotes, the characters the runner itself reads in an
    // argument text (redirection, the pipe test) and those the plain form
    // quotes.
    if (!name.IsEmpty() && name[0] != '-' && !HoldsAny(name, " \t\"<>|&%+,;^()")) {
        return name;
    }
    Westring out("\"");
    int backslashes = 0;
    for (int i = 0; i < name.Length(); i++) {
        char32_t c = name[i];
        if (c == '\\') {
            backslashes++;
            continue;
        }
        // Backslashes count double only before a quote.
        int copies = c == '"' ? 2 * backslashes + 1 : backslashes;
        for (int n = 0; n < copies; n++) {
            out.AppendChar('\\');
        }
        backslashes = 0;
        out.AppendChar(c);
    }
    // Before the closing quote, too.
    for (int n = 0; n < 2 * backslashes; n++) {
        out.AppendChar('\\');
    }
    out.AppendChar('"');
    return out;
}

Westring QuoteForShell(const Westring& name) {
    bool plain = !name.IsEmpty() && name[0] != '-';
    for (int i = 0; plain && i < name.Length(); i++) {
        char32_t c = name[i];
        plain = c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                (c != 0 && Westring("._/:@=+,%-").Find(c) >= 0);
    }
    if (plain) {
        return name;
    }
    Westring out("'");
    for (int i = 0; i < name.Length(); i++) {
        if (name[i] == '\'') {
            out += Westring("'\\''");
        } else {
            out.AppendChar(name[i]);
        }
    }
    out.AppendChar('\'');
    return out;
}

Westring QuoteForCmd(const Westring& name) {
    if (!name.IsEmpty() && name[0] != '-' && !HoldsAny(name, " \t\"<>|&%+,;^()")) {
        return name;
    }
    Westring out("\"");
    for (int i = 0; i < name.Length(); i++) {
        if (name[i] == '"') {
            out.AppendChar('"');
        }
        out.AppendChar(name[i]);
    }
    out.AppendChar('"');
    return out;
}

int FindOutsideArgumentQuotes(const Westring& text, char32_t unit, int start) {
    bool quoted = false;
    int backslashes = 0;
    for (int i = start < 0 ? 0 : start; i < text.Length(); i++) {
        char32_t c = text[i];
        if (c == '"') {
            if (backslashes % 2 == 0) {
                if (quoted && i + 1 < text.Length() && text[i + 1] == '"') {
                    i++;  // a doubled quote inside quotes is one literal quote
                } else {
                    quoted = !quoted;
                }
            }
            backslashes = 0;
            continue;
        }
        backslashes = c == '\\' ? backslashes + 1 : 0;
        if (!quoted && c == unit) {
            return i;
        }
    }
    return -1;
}
