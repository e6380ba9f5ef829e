#include "base/strings/LocaleCase.h"

#include "platform/win32.h"

// Identity: byte b at index b.
#define QV_ROW(b) \
    (b), (b) + 1, (b) + 2, (b) + 3, (b) + 4, (b) + 5, (b) + 6, (b) + 7, (b) + 8, (b) + 9, (b) + 10, (b) + 11, \
        (b) + 12, (b) + 13, (b) + 14, (b) + 15
#define QV_IDENTITY \
    QV_ROW(0x00), QV_ROW(0x10), QV_ROW(0x20), QV_ROW(0x30), QV_ROW(0x40), QV_ROW(0x50), QV_ROW(0x60), QV_ROW(0x70), \
        QV_ROW(0x80), QV_ROW(0x90), QV_ROW(0xA0), QV_ROW(0xB0), QV_ROW(0xC0), QV_ROW(0xD0), QV_ROW(0xE0), QV_ROW(0xF0)

unsigned char LocaleUpperTable[256] = {QV_IDENTITY};
unsigned char LocaleLowerTable[256] = {QV_IDENTITY};
bool LocaleCaseTablesBuilt = false;

void InitCaseTables() {
    char source[256];
    for (int i = 0; i < 256; i++) {
        source[i] = (char)i;
        LocaleUpperTable[i] = (unsigned char)i;
        LocaleLowerTable[i] = (unsigned char)i;
    }
    LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, source, 256, (LPSTR)LocaleUpperTable, 256);
    LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, source, 256, (LPSTR)LocaleLowerTable, 256);
    LocaleCaseTablesBuilt = true;
}

void LocaleUpperInPlace(char* text) {
    for (; *text; text++)
        *text = (char)LocaleUpperTable[(unsigned char)*text];
}

void LocaleLowerInPlace(char* text) {
    for (; *text; text++)
        *text = (char)LocaleLowerTable[(unsigned char)*text];
}

int LocaleCompareNoCaseN(const char* a, const char* b, int n) {
    for (int i = 0; i < n; i++) {
        int ua = LocaleUpperTable[(unsigned char)a[i]];
        int ub = LocaleUpperTable[(unsigned char)b[i]];
        if (ua != ub)
            return ua - ub;
        if (!a[i])
            return 0;
    }
    return 0;
}

int LocaleCompareNoCase(const char* a, const char* b) {
    for (;; a++, b++) {
        int ua = LocaleUpperTable[(unsigned char)*a];
        int ub = LocaleUpperTable[(unsigned char)*b];
        if (ua != ub)
            return ua - ub;
        if (!*a)
            return 0;
    }
}
