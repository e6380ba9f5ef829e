// CToken: one token of a script. A script is read completely into a list of
// tokens before it runs; the interpreter then walks the list with a cursor
// and reports errors with the file, line and column each token keeps.
#pragma once

#include <cstdint>

class Westring;

// Token kinds; the number is what TokenKindName prints for it.
enum ETokenKind {
    TokenEnd = -1,
    TokenKeyword = 0,
    TokenIdentifier = 1,
    TokenString = 2,
    TokenInteger = 3,
    TokenReal = 4,
    TokenOpenParen = 5,
    TokenCloseParen = 6,
    TokenOpenBrace = 7,
    TokenCloseBrace = 8,
    TokenComma = 9,
    TokenStarUnused = 10,  // never produced: '*' is TokenStar
    TokenSlash = 11,
    TokenSemicolon = 12,
    TokenAssign = 13,
    TokenQuestion = 14,
    TokenColon = 15,
    TokenPlus = 16,
    TokenMinus = 17,
    TokenStar = 18,
    TokenPercent = 19,
    TokenCaret = 20,
    TokenNot = 21,
    TokenEqual = 22,
    TokenNotEqual = 23,
    TokenLess = 24,
    TokenGreater = 25,
    TokenLessEqual = 26,
    TokenGreaterEqual = 27,
    TokenAnd = 28,
    TokenOr = 29,
    TokenIncrement = 30,
    TokenDecrement = 31,
    TokenOpenBracket = 32,
    TokenCloseBracket = 33,
    TokenArrow = 34,
    TokenPlusAssign = 35,
    TokenMinusAssign = 36,
    TokenStarAssign = 37,
    TokenSlashAssign = 38,
    TokenDot = 39,
    TokenKindCount = 40
};

// Keywords, numbered by their place in the sorted keyword set.
enum EKeyword {
    KeywordBool = 0,
    KeywordBreak,
    KeywordDo,
    KeywordElse,
    KeywordFalse,
    KeywordFor,
    KeywordFunc,
    KeywordIf,
    KeywordInt,
    KeywordList,
    KeywordMap,
    KeywordReal,
    KeywordReturn,
    KeywordString,
    KeywordTimestamp,
    KeywordTrue,
    KeywordWhile,
    KeywordCount
};

class CToken {
public:
    const Westring* file = nullptr;  // interned file name, shared by the file's tokens
    int32_t line = 0;
    int32_t column = 0;
    int32_t kind = TokenEnd;
    const void* record = nullptr;  // keyword text, or the identifier or literal record
    uint32_t number = 0;           // keyword, identifier or literal number
    int64_t integer = 0;
    double real = 0.0;

    bool IsKeyword(int keyword) const { return kind == TokenKeyword && number == uint32_t(keyword); }
};

// The text the expected-token messages print for a kind: "Identifier",
// "';'" and so on; "" for a number outside the table.
const char* TokenKindName(int kind);
