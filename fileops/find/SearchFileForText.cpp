#include "fileops/find/SearchFileForText.h"

#include <cstring>
#include <optional>

#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"
#include "base/strings/CaseTable.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Estring.h"
#include "base/strings/WordChars.h"

namespace {

// The byte each byte value becomes in upper case, as the code page spells it.
void BuildFoldTable(uint32_t codePage, unsigned char fold[256]) {
    for (int b = 0; b < 256; b++) {
        fold[b] = static_cast<unsigned char>(b);
        if (b == 0)
            continue;
        char single[2] = {static_cast<char>(b), 0};
        Westring wide(single, codePage);
        if (wide.Length() != 1)
            continue;
        Westring upper;
        upper.AppendChar(ToUpperChar(wide[0]));
        Estring back(upper, codePage);
        if (back.Length() == 1)
            fold[b] = static_cast<unsigned char>(back[0]);
    }
}

// The fold table of the code page last asked for on this thread: a find
// searches many files in one code page, and building the table converts every
// byte value through the system.
void FoldTableFor(uint32_t codePage, unsigned char fold[256]) {
    thread_local uint32_t cachedCodePage = 0;
    thread_local unsigned char cached[256];
    if (cachedCodePage != codePage) {
        BuildFoldTable(codePage, cached);
        cachedCodePage = codePage;
    }
    memcpy(fold, cached, sizeof cached);
}

thread_local bool escapePolling = true;
thread_local unsigned breakCalls = 0;

// Calls between two looks at the keyboard; PollEscapeKey itself looks at most
// every 0.1 s, but asking the clock that often costs more than the search.
const unsigned BreakPollInterval = 4096;

}  // namespace

void SetSearchEscapePolling(bool on) {
    escapePolling = on;
}

bool SearchBreakRequested() {
    if (UserAbortState == UserAbortRequested)
        return true;
    if (!escapePolling || ++breakCalls % BreakPollInterval != 0)
        return false;
    return SearchBreakRequestedNow();
}

bool SearchBreakRequestedNow() {
    if (UserAbortState == UserAbortRequested)
        return true;
    if (!escapePolling || !PollEscapeKey())
        return false;
    UserAbortState = UserAbortRequested;
    return true;
}

int64_t SearchFileForText(CRandomFile& file, int64_t start, const Westring& text, bool reverse, bool caseSensitive,
                          bool wholeWord, uint32_t codePage) {
    if (text.IsEmpty())
        return -1;
    if (codePage == 0)
        codePage = GetTextCodePage();
    // A break asked for before the search (in the operation around it)
    // counts as well: the scope below would otherwise cover it.
    if (UserAbortState == UserAbortRequested)
        return -1;
    // Inside an operation that already polls (a find whose helpers search
    // files side by side) the state is left alone: scopes opened and closed
    // on several threads at once would put back each other's values.
    std::optional<CUserAbortScope> abortScope;
    if (UserAbortState != UserAbortPolling)
        abortScope.emplace(UserAbortPolling);

    unsigned char fold[256];
    if (!caseSensitive)
        FoldTableFor(codePage, fold);
    Estring pattern(caseSensitive ? text : text.ToUpper(), codePage);
    const int64_t m = pattern.Length();
    if (m == 0)
        return -1;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pattern.Data());

    int64_t skip[256];
    for (int64_t& entry : skip)
        entry = -1;
    for (int64_t i = 0; i < m; i++) {
        if (!reverse || skip[p[i]] < 0)
            skip[p[i]] = i;
    }

    const int64_t size = file.KnownSize();
    if (start < 0)
        start = 0;
    if (start > size)
        start = size;
    const int64_t d = reverse ? -1 : 1;
    auto byteAt = [&](int64_t offset) -> uint32_t {
        uint32_t b = file.ByteAt(offset);
        return (b == CRandomFile::NoByte || caseSensitive) ? b : fold[b];
    };
    int64_t q = start + d * (m - 1);
    while (q >= 0) {
        uint32_t probe = byteAt(q);
        if (probe == CRandomFile::NoByte)
            return -2;
        if (SearchBreakRequested())
            return -1;
        int64_t k = skip[probe];
        if (k < 0) {
            q += d * m;
            continue;
        }
        int64_t a = q - k;
        bool match = a >= 0 && a + m <= size;
        for (int64_t j = 0; match && j < m; j++) {
            if (byteAt(a + j) != p[j])
                match = false;
        }
        if (match && wholeWord) {
            if (a > 0 && IsWordCharByte(static_cast<unsigned char>(file.ByteAt(a - 1))))
                match = false;
            if (a + m < size && IsWordCharByte(static_cast<unsigned char>(file.ByteAt(a + m))))
                match = false;
        }
        if (match)
            return a;
        q = reverse ? a - 1 : a + m;
    }
    return -2;
}
