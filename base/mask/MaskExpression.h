// MaskExpression: the file-mask language of find, compare, tagging, filters,
// associations, the user menu and the syntax definitions.
//
// Wildcard masks combined with "|", "&", "!" and parentheses, and functions
// that test an entry's size, date, age, attributes and time stamp or search
// its contents:
//   (*.c|*.h) & %size>10k & !%attrib=h
//   %timestamp>20240101 | %search("needle", "cw")
// The text is parsed anew for every entry tested, in one pass that evaluates
// as it reads; the same parser runs without evaluating to check a user's mask.
// One object serves many calls: it caches the time of a %timestamp file
// reference, so that a panel of entries costs one look-up.
#pragma once

#include <cstdint>

#include "base/io/Entry.h"
#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"

// How %search looks into a file: the byte offset of the first match, or a
// negative value when the text is not in the file or the file cannot be read.
// The masks stand below the file operations that own the text search, so
// those install it at start-up; while none is installed %search matches no
// file.
using TMaskTextSearch = int64_t (*)(const Westring& path, const Westring& text, bool caseSensitive, bool wholeWords);
extern TMaskTextSearch MaskTextSearch;

class MaskExpression {
public:
    // Limits of the parser: deeper nesting and longer masks are refused with
    // an error rather than taken in.
    static constexpr int MaxNesting = 100;
    static constexpr int MaxMaskLength = 500;

    MaskExpression();

    // Parses and, when evaluating, tests the text against the entry: 1 or 0,
    // -1 when the text has an error (ErrorMessage says which).
    int Evaluate(const char32_t* text, const entry* item);
    // Evaluating against an entry of the directory (used by %search).
    int Match(const Westring& text, const Westring& directory, const entry* item);
    // Evaluates against a record that has only the name (zero size, time
    // and attributes).
    int EvaluateName(const char32_t* text, const char32_t* name);
    int MatchName(const Westring& text, const Westring& name);
    // Parses without evaluating and without touching the file system; true
    // when the text has no error.
    bool CheckSyntax(const Westring& text);

    bool HasError() const { return error; }
    const Westring& ErrorMessage() const { return errorMessage; }
    // Where the last %search matched (-2 before any evaluation), and the
    // length of the text it searched.
    int64_t SearchOffset() const { return searchOffset; }
    int32_t SearchLength() const { return searchLength; }

private:
    int ParseChain(char32_t op, int (MaskExpression::*operand)());
    int ParseExpression();
    int ParseTerm();
    int ParseFactor();
    int ParseMask();
    // Reads a mask or a file name up to "&", "|" or ")" (and a blank when
    // blankEnds) outside double quotes, dropping the quotes; when bounded, a
    // word longer than a mask may be is an error.
    Westring ScanWord(bool blankEnds, bool bounded);
    int ParseFunction();
    void ParseArguments(Westring* arguments, int room, int& count);
    int SearchFunction(const Westring* arguments, int count);
    int Compare(int64_t left, int64_t right, const char32_t* comparator);
    int SyntaxComparator(const char32_t* comparator);
    int64_t TimestampValue(const Westring& value);
    int64_t DateValue(const Westring& value);
    void SkipBlanks();
    void Fail(const Westring& message);

    const char32_t* position;
    const entry* item;
    Westring directory;
    int64_t searchOffset;
    int32_t searchLength;
    int nesting;
    bool error;
    Westring errorMessage;
    TTimestamp cachedTime;
    Westring cachedName;
    bool cachedFound;
    bool evaluating;
};

// One-shot forms with a temporary object: -1, 0 or 1.
int MatchMask(const Westring& text, const Westring& directory, const entry* item);
int MatchMaskName(const Westring& text, const Westring& name);
