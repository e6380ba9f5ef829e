// The builtins over text, numbers, times and values, and the calling
// convention: argument counts, conversions and their errors.
#include "tests/script/ScriptFixture.h"

namespace qvtest {
namespace {

class BuiltinsTest : public ScriptTest {};

TEST_F(BuiltinsTest, Text) {
    static const TScriptCase cases[] = {
        {"print(left(\"abc\", 5), \"|\", left(\"abc\", -1), \"|\", left(\"abc\", 4294967297));", "abc||abc"},
        {"print(right(\"abc\", 0), \"|\", right(\"abc\", -1), \"|\", right(\"abc\", 2));", "|abc|bc"},
        {"print(right(\"abc\", 4294967297));", "abc"},
        {"print(mid(\"abcdef\", 2), \"|\", mid(\"abcdef\", 2, 0), \"|\", mid(\"abcdef\", 9), \"|\", mid(\"abcdef\", "
         "-1, 2));",
         "cdef|cdef||"},
        {"print(mid(\"abcdef\", 1, 2), \"|\", mid(\"abcdef\", 1, -3), \"|\", mid(\"abcdef\", 4294967297, 1));",
         "bc|bcdef|"},
        {"print(pad(\"abc\", 5), \"|\", lpad(\"abcdef\", 3), \"|\", lpad(\"ab\", 4), \"|\", pad(\"ab\", -2), \"|\");",
         "abc  |def|  ab||"},
        {"x = pad(\"a\", 4294967296);", "@(1): Text too long at col 14\n"},
        {"print(subst(\"aaa\", \"a\", \"aa\"), \"|\", subst(\"abc\", \"\", \"x\"), \"|\", subst(\"a.b.c\", \".\", "
         "\"\"));",
         "aaaaaa|abc|abc"},
        {"print(trim(\" \\ta b \"), \"|\", ltrim(\" a \"), \"|\", rtrim(\" a \"), \"|\");", "a b|a | a|"},
        {"print(upperCase(\"abc\"), lowerCase(\"ABC\"), \" \", mixedCase(\"hello wORLD 2nd\"));",
         "ABCabc Hello World 2nd"},
        {"print(pos(\"abc\", \"x\"), pos(\"abcbc\", \"bc\"), posNc(\"ABC\", \"bc\"), pos(\"abc\", \"\"));", "-1110"},
        {"print(contains(\"abc\", \"B\"), containsNc(\"abc\", \"B\"));", "falsetrue"},
        {"print(startsWith(\"abc\", \"\"), startsWith(\"abc\", \"ab\"), startsWith(\"a\", \"ab\"), endsWith(\"abc\", "
         "\"bc\"), endsWith(\"abc\", \"B\"));",
         "truetruefalsetruefalse"},
        // a number converts to its text; a list does not
        {"print(left(12345, 2));", "12"},
        {"x = left(\"abc\", [1]);", "@(1): Integer compatible type required for argument 2 at col 17\n"},
        {"x = left([1], 1);", "@(1): String compatible type required for argument 1 at col 10\n"},
        {"x = left(\"a\");", "@(1): Incorrect number of arguments, 2 required at col 14\n"},
        {"x = mid(\"a\");", "@(1): Incorrect number of arguments, 2 to 3 required at col 13\n"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST_F(BuiltinsTest, ValuesTimesAndOutput) {
    static const TScriptCase cases[] = {
        {"print(len(5), len([1, 2, 3]), len({\"a\": 1}), len(\"abcd\"), typeOf(len(1)));", "0314int"},
        {"print(typeOf(x), typeOf(true), typeOf(1.5), typeOf(\"\"), typeOf([]), typeOf({}), typeOf(now()));",
         "undefinedboolrealstringlistmaptimestamp"},
        {"k = keys({\"b\": 1, \"a\": 2}); print(typeOf(k), len(k), k[0], k);", "list2a[\"a\",\"b\"]"},
        {"x = [1, 2]; free(x); print(typeOf(x)); free(5);", "undefined"},
        {"t = expandTimestamp(86400 + 3600 + 61.5 - 0.5); print(t.year, \"-\", t.month, \"-\", t.day, \" \", t.hour, "
         "\":\", t.minute, \":\", t.second, \" \", t.weekday);",
         "@(1): Timestamp compatible type required for argument 1 at col 21\n"},
        {"t = expandTimestamp(90061); print(t.year, \"-\", t.month, \"-\", t.day, \" \", t.hour, \":\", t.minute, "
         "\":\", t.second, \" \", t.weekday, \" \", len(t));",
         "1970-1-2 1:1:1 5 8"},
        {"println(); println(1, \"a\", [\"b\"]); print(1.5, \" \", -2.25, \" \", 1.0 / 3);",
         "\r\n1a[\"b\"]\r\n1.5 -2.25 0.33333333333333"},
        {"sleep(-5); sleep(0); print(\"ok\");", "ok"},
        {"print(getMessage(true), \"|\");", "|"},
        {"x = now() + 1; y = x - 1; print(typeOf(y), y < x); t = now(); print(t + true == t);", "timestamptruetrue"},
    };
    RunCases(cases, sizeof(cases) / sizeof(cases[0]));
}

}  // namespace
}  // namespace qvtest
