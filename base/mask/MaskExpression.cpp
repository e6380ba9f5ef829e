#include "base/mask/MaskExpression.h"

#include <cstdint>

#include "base/io/DirScanner.h"
#include "base/strings/CaseTable.h"
#include "base/strings/Wildcard.h"
#include "base/os/PathNormalizer.h"
#include "platform/win32.h"

namespace {

const int64_t NumberLimit = INT64_MAX / 1024;

bool IsLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

// The decimal number at the start of the text (saturating, never negative).
int64_t LeadingNumber(const Westring& text) {
    int64_t value = 0;
    for (int i = 0; i < text.Length() && IsDigit(text[i]); i++) {
        value = value < NumberLimit ? value * 10 + (text[i] - '0') : INT64_MAX;
    }
    return value;
}

int64_t Scaled(int64_t value, int64_t unit) {
    return value > INT64_MAX / unit ? INT64_MAX : value * unit;
}

// The multiplier a value's last character names, from a table of suffixes.
struct TSuffix {
    char32_t letter;
    int64_t unit;
};
const TSuffix SizeSuffixes[] = {{'K', 1024}, {'M', 1048576}, {'G', 1073741824}, {0, 0}};
const TSuffix AgeSuffixes[] = {{'D', 86400}, {'H', 3600}, {'M', 60}, {0, 0}};

int64_t SuffixedValue(const Westring& value, const TSuffix* suffixes) {
    int64_t number = LeadingNumber(value);
    char32_t last = value.IsEmpty() ? 0 : ToUpperChar(value[value.Length() - 1]);
    for (const TSuffix* suffix = suffixes; suffix->letter; suffix++) {
        if (last == suffix->letter)
            return Scaled(number, suffix->unit);
    }
    return number;
}

// Attribute letters of %attrib.
struct TAttributeLetter {
    char32_t letter;
    uint32_t bit;
};
const TAttributeLetter AttributeLetters[] = {
    {'A', FILE_ATTRIBUTE_ARCHIVE}, {'C', FILE_ATTRIBUTE_COMPRESSED},    {'D', FILE_ATTRIBUTE_DIRECTORY},
    {'H', FILE_ATTRIBUTE_HIDDEN},  {'L', FILE_ATTRIBUTE_REPARSE_POINT}, {'R', FILE_ATTRIBUTE_READONLY},
    {'S', FILE_ATTRIBUTE_SYSTEM},
};

uint32_t AttributeBits(const Westring& value) {
    uint32_t bits = 0;
    for (int i = 0; i < value.Length(); i++) {
        char32_t c = ToUpperChar(value[i]);
        for (const TAttributeLetter& letter : AttributeLetters) {
            if (c == letter.letter)
                bits |= letter.bit;
        }
    }
    return bits;
}

// The user's short-date order (0 month-day-year, 1 day-month-year, 2
// year-month-day) and date separator, read from the locale once.
struct TDateLocale {
    int order;
    char32_t separator;
};

const TDateLocale& DateLocale() {
    static const TDateLocale locale = [] {
        TDateLocale result = {0, '/'};
        char text[16];
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, text, sizeof text) > 0 && text[0] >= '0' &&
            text[0] <= '2')
            result.order = text[0] - '0';
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, text, sizeof text) > 0 && text[0] != 0)
            result.separator = static_cast<unsigned char>(text[0]);
        return result;
    }();
    return locale;
}

int64_t LocalMidnight(int year, int month, int day) {
    TLocalDateTime local = {year, month, day, 0, 0, 0, 0, 0};
    return TTimestamp::FromLocalDateTime(local).seconds;
}

Westring Quoted(const char* before, const Westring& inner, const char* after) {
    return Westring(before) + inner + Westring(after);
}

}  // namespace

MaskExpression::MaskExpression()
    : position(nullptr), item(nullptr), searchOffset(-2), searchLength(0), nesting(0), error(false), cachedFound(false),
      evaluating(true) {}

void MaskExpression::Fail(const Westring& message) {
    if (error)
        return;
    error = true;
    errorMessage = message;
}

void MaskExpression::SkipBlanks() {
    while (*position == ' ')
        position++;
}

int MaskExpression::Evaluate(const char32_t* text, const entry* tested) {
    static const char32_t empty[1] = {0};
    position = text ? text : empty;
    item = tested;
    error = false;
    errorMessage.Clear();
    searchOffset = -2;
    nesting = 0;
    int result = ParseExpression();
    if (error)
        return -1;
    return evaluating ? result : 0;
}

int MaskExpression::Match(const Westring& text, const Westring& inDirectory, const entry* tested) {
    evaluating = true;
    directory = inDirectory;
    return Evaluate(text.Data(), tested);
}

int MaskExpression::EvaluateName(const char32_t* text, const char32_t* name) {
    int length = Str32Length(name);
    entry* record = entry::Allocate(length);
    if (!record) {
        Fail(Westring("Not enough memory"));
        return -1;
    }
    Mem32Copy(record->name, name, length + 1);
    int result = Evaluate(text, record);
    entry::Free(record);
    return result;
}

int MaskExpression::MatchName(const Westring& text, const Westring& name) {
    evaluating = true;
    directory.Clear();
    return EvaluateName(text.Data(), name.Data());
}

bool MaskExpression::CheckSyntax(const Westring& text) {
    evaluating = false;
    EvaluateName(text.Data(), Westring("test").Data());
    evaluating = true;
    return !error;
}

// Operands joined by one operator, left to right. When the first operand
// alone settles the chain (true for "|", false for "&"), the rest of it is
// only parsed.
int MaskExpression::ParseChain(char32_t op, int (MaskExpression::*operand)()) {
    int result = (this->*operand)();
    bool saved = evaluating;
    bool settled = evaluating && result == (op == '|' ? 1 : 0);
    if (settled)
        evaluating = false;
    for (SkipBlanks(); *position == op; SkipBlanks()) {
        position++;
        int next = (this->*operand)();
        if (!settled)
            result = op == '|' ? (result | next) : (result & next);
    }
    evaluating = saved;
    return result;
}

// expression := term { "|" term }
int MaskExpression::ParseExpression() {
    return ParseChain('|', &MaskExpression::ParseTerm);
}

// term := factor { "&" factor }
int MaskExpression::ParseTerm() {
    return ParseChain('&', &MaskExpression::ParseFactor);
}

// factor := "!" factor | "(" expression ")" | function | mask
int MaskExpression::ParseFactor() {
    SkipBlanks();
    if (*position == '!' || *position == '(') {
        if (nesting >= MaxNesting) {
            Fail(Westring("Expression nested too deeply"));
            // Nothing more of it is read: the rest would only nest deeper.
            while (*position)
                position++;
            return 0;
        }
        nesting++;
        int result;
        if (*position == '!') {
            position++;
            result = !ParseFactor();
        } else {
            position++;
            result = ParseExpression();
            SkipBlanks();
            if (*position == ')')
                position++;
            else
                Fail(Westring(") expected"));
        }
        nesting--;
        return result;
    }
    if (*position == '%')
        return ParseFunction();
    return ParseMask();
}

Westring MaskExpression::ScanWord(bool blankEnds, bool bounded) {
    Westring word;
    bool quoted = false;
    for (; *position; position++) {
        char32_t c = *position;
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == '&' || c == '|' || c == ')' || (blankEnds && c == ' ')))
            break;
        if (bounded && word.Length() >= MaxMaskLength) {
            Fail(Westring("File mask too long"));
            continue;
        }
        word.AppendChar(c);
    }
    return word;
}

int MaskExpression::ParseMask() {
    Westring mask = ScanWord(false, true);
    while (mask.Length() > 0 && mask[mask.Length() - 1] == ' ')
        mask = mask.Left(mask.Length() - 1);
    if (mask.IsEmpty()) {
        Fail(Westring("File mask expected"));
        return 0;
    }
    if (!evaluating || !item)
        return 0;
    return MatchWildcard(mask.Data(), item->name);
}

void MaskExpression::ParseArguments(Westring* arguments, int room, int& count) {
    // position is just after "(".
    count = 0;
    SkipBlanks();
    if (*position == ')') {
        position++;
        return;
    }
    for (;;) {
        SkipBlanks();
        Westring argument;
        if (*position == '"') {
            position++;
            for (;;) {
                if (*position == 0) {
                    Fail(Westring("Unterminated quoted string"));
                    return;
                }
                if (*position == '"') {
                    if (position[1] == '"') {
                        argument.AppendChar('"');
                        position += 2;
                        continue;
                    }
                    position++;
                    break;
                }
                argument.AppendChar(*position++);
            }
            SkipBlanks();
            if (*position != ',' && *position != ')') {
                Fail(Westring("Unexpected characters after literal string"));
                while (*position && *position != ',' && *position != ')')
                    position++;
            }
        } else {
            bool quoted = false;
            for (; *position; position++) {
                if (*position == '"') {
                    quoted = !quoted;
                    continue;
                }
                if (!quoted && (*position == ',' || *position == ')'))
                    break;
                argument.AppendChar(*position);
            }
            argument = argument.TrimRight();
        }
        if (count < room)
            arguments[count] = argument;
        count++;
        if (*position == 0) {
            Fail(Westring("Un-closed function parameters"));
            return;
        }
        if (*position++ == ')')
            return;
    }
}

TMaskTextSearch MaskTextSearch = nullptr;

int MaskExpression::SearchFunction(const Westring* arguments, int count) {
    if (count == 0) {
        Fail(Westring("Insufficient arguments for %search"));
        return 0;
    }
    if (count > 2) {
        Fail(Westring("Too many arguments for %search"));
        return 0;
    }
    if (!evaluating || !item)
        return 0;
    bool caseSensitive = false, wholeWords = false;
    if (count == 2) {
        for (int i = 0; i < arguments[1].Length(); i++) {
            char32_t option = ToUpperChar(arguments[1][i]);
            if (option == 'C')
                caseSensitive = true;
            if (option == 'W')
                wholeWords = true;
        }
    }
    Westring path = AddTrailingBackslash(directory) + Westring(item->name);
    if (directory.IsEmpty())
        path = Westring(item->name);
    int64_t offset = MaskTextSearch ? MaskTextSearch(path, arguments[0], caseSensitive, wholeWords) : -1;
    if (offset < 0)
        return 0;
    searchOffset = offset;
    searchLength = arguments[0].Length();
    return 1;
}

int MaskExpression::Compare(int64_t left, int64_t right, const char32_t* comparator) {
    if (comparator[1] == '=' && comparator[0] != '!' && left == right)
        return 1;
    switch (comparator[0]) {
    case '<': return left < right;
    case '=': return left == right;
    case '>': return left > right;
    case '!':
        if (comparator[1] == '=')
            return left != right;
        break;
    default: break;
    }
    Fail(Quoted("Invalid comparitor '", Westring(comparator), "'"));
    return 0;
}

// While only parsing, any comparator that begins like one of the real ones
// passes; which one it is matters only when values are compared.
int MaskExpression::SyntaxComparator(const char32_t* comparator) {
    char32_t c = comparator[0];
    if (c != '=' && c != '!' && c != '<' && c != '>')
        Fail(Quoted("Invalid comparitor '", Westring(comparator), "'"));
    return 0;
}

int64_t MaskExpression::DateValue(const Westring& value) {
    const TDateLocale& locale = DateLocale();
    int numbers[3] = {0, 0, 0};
    int field = 0;
    for (int i = 0; i < value.Length() && field < 3; i++) {
        if (value[i] == locale.separator)
            field++;
        else if (IsDigit(value[i]) && numbers[field] < 100000)
            numbers[field] = numbers[field] * 10 + int(value[i] - '0');
    }
    static const int positions[3][3] = {{2, 0, 1}, {2, 1, 0}, {0, 1, 2}};  // year, month, day
    const int* at = positions[locale.order];
    int year = numbers[at[0]];
    if (year <= 99)
        year += year < 71 ? 2000 : 1900;
    return LocalMidnight(year, numbers[at[1]], numbers[at[2]]);
}

int64_t MaskExpression::TimestampValue(const Westring& value) {
    if (value[0] == '@') {
        if (!evaluating)
            return 0;
        Westring path = value.Mid(1, 0);
        NormalizePath(path);
        if (!cachedName.IsEmpty() && path == cachedName) {
            if (!cachedFound)
                Fail(Quoted("File '", path, "' not found"));
            return cachedTime.seconds;
        }
        cachedName = path;
        CDirScanner scanner{Westring()};
        cachedFound = scanner.Exists(path, CDirScanner::ScanEverything) == 0;
        cachedTime = cachedFound ? scanner.Record()->time : TTimestamp();
        if (!cachedFound)
            Fail(Quoted("File '", path, "' not found"));
        return cachedTime.seconds;
    }

    int length = value.Length();
    bool digits = length >= 4 && length <= 14 && length % 2 == 0;
    for (int i = 0; digits && i < length; i++)
        digits = IsDigit(value[i]);
    if (!digits) {
        Fail(Quoted("Invalid timestamp value '", value, "'"));
        return 0;
    }
    // YYYY, then pairs for month, day, hour, minute and second.
    int fields[6] = {0, 1, 1, 0, 0, 0};
    fields[0] = int(LeadingNumber(value.Left(4)));
    for (int f = 1; 4 + 2 * f <= length; f++)
        fields[f] = int(LeadingNumber(value.Mid(2 + 2 * f, 2)));
    TLocalDateTime local = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], 0, 0};
    return TTimestamp::FromLocalDateTime(local).seconds;
}

// function := "%" name ( "(" arguments ")" | comparator value )
int MaskExpression::ParseFunction() {
    position++;
    Westring name;
    while (IsLetter(*position))
        name.AppendChar(*position++);
    SkipBlanks();

    if (*position == '(') {
        position++;
        Westring arguments[3];
        int count = 0;
        ParseArguments(arguments, 3, count);
        if (name == Westring("search"))
            return SearchFunction(arguments, count);
        Fail(Quoted("Unknown operator '%", name, "'"));
        return 0;
    }

    char32_t comparator[3] = {0, 0, 0};
    if (*position)
        comparator[0] = *position++;
    if (*position == '=')
        comparator[1] = *position++;
    SkipBlanks();

    Westring value;
    if (*position == '@') {
        value = ScanWord(true, false);
    } else {
        char32_t separator = DateLocale().separator;
        while (IsLetter(*position) || IsDigit(*position) || (*position && *position == separator))
            value.AppendChar(*position++);
    }

    static const char* const names[] = {"size", "date", "age", "attrib", "timestamp"};
    int which = -1;
    for (int i = 0; i < 5; i++) {
        if (name == Westring(names[i]))
            which = i;
    }
    if (which < 0) {
        Fail(Quoted("Unknown operator '%", name, "'"));
        return 0;
    }
    if (value.IsEmpty()) {
        Fail(Westring("Value expected"));
        return 0;
    }
    if (which == 4) {
        // The right value is checked (and a file reference looked up) first,
        // so that a bad value is reported also while only parsing.
        int64_t right = TimestampValue(value);
        if (!evaluating || !item)
            return SyntaxComparator(comparator);
        return Compare(int64_t(item->time.seconds), right, comparator);
    }
    if (!evaluating || !item)
        return SyntaxComparator(comparator);

    int64_t left = 0, right = 0;
    switch (which) {
    case 0:
        left = int64_t(item->size > uint64_t(INT64_MAX) ? INT64_MAX : item->size);
        right = SuffixedValue(value, SizeSuffixes);
        break;
    case 1: {
        TLocalDateTime local;
        item->time.ToLocalDateTime(local);
        left = LocalMidnight(local.year, local.month, local.day);
        right = DateValue(value);
        break;
    }
    case 2:
        left = int64_t(TTimestamp::Now().seconds) - int64_t(item->time.seconds);
        right = SuffixedValue(value, AgeSuffixes);
        break;
    case 3: {
        uint32_t bits = AttributeBits(value);
        left = item->attributes & bits;
        right = bits;
        break;
    }
    }
    return Compare(left, right, comparator);
}

int MatchMask(const Westring& text, const Westring& directory, const entry* item) {
    MaskExpression mask;
    return mask.Match(text, directory, item);
}

int MatchMaskName(const Westring& text, const Westring& name) {
    MaskExpression mask;
    return mask.MatchName(text, name);
}
