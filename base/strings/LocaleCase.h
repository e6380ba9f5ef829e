// 8-bit case tables of the user's locale.
//
// Identity until InitCaseTables builds them at start-up; read directly by byte
// value elsewhere (8-bit searches, Yes-answer tests). The built flag also tells
// the drawing code that the console can show the check mark and frame joints.
#pragma once

extern unsigned char LocaleUpperTable[256];
extern unsigned char LocaleLowerTable[256];
extern bool LocaleCaseTablesBuilt;

void InitCaseTables();

void LocaleUpperInPlace(char* text);
void LocaleLowerInPlace(char* text);
// Difference of the upper-table values of the first differing bytes (an end
// counts as the value of byte 0); the n form gives 0 for n <= 0.
int LocaleCompareNoCase(const char* a, const char* b);
int LocaleCompareNoCaseN(const char* a, const char* b, int n);
