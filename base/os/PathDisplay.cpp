#include "base/os/PathDisplay.h"

#include "base/strings/Str32.h"

namespace {

const char32_t CutMark = 0x25BA;

// How many leading characters name the root that a shortened path keeps: up
// to and including the first separator (the second when the path starts with
// one, so \\server keeps both backslashes). 0 when the path has no directory
// part, or no root to keep.
int RootToKeep(const Westring& path) {
    if (path.FindLast('\\') <= 0) {
        return 0;
    }
    int from = path[0] == '\\' ? 1 : 0;
    int separator = path.FindFrom(Westring(U"\\"), from);
    if (separator <= 0) {
        return 0;
    }
    return separator + 1;
}

}  // namespace

void ShortenPathForDisplay(Westring& path, int width) {
    int length = path.Length();
    if (length <= width) {
        return;
    }
    if (width <= 0) {
        path.Clear();
        return;
    }
    int keep = RootToKeep(path);
    if (keep > 0 && width > keep + 3) {
        path = path.Left(keep) + Westring(U"...") + path.Right(width - keep - 3);
        return;
    }
    path = path.Left(width);
    path.SetAt(width - 1, CutMark);
}

Westring ShortenedPathForDisplay(const Westring& path, int width) {
    Westring copy(path);
    ShortenPathForDisplay(copy, width);
    return copy;
}

void AppendBackslashInPlace(char32_t* buffer) {
    int length = Str32Length(buffer);
    if (length > 0 && buffer[length - 1] == '\\') {
        return;
    }
    buffer[length] = '\\';
    buffer[length + 1] = 0;
}

bool IsDotOrDotDotName(Westring& path) {
    int cut = path.FindLast('\\');
    int slash = path.FindLast('/');
    if (slash > cut) {
        cut = slash;
    }
    if (cut >= 0) {
        Westring name;
        name.Assign(path.Data() + cut + 1, path.Length() - cut - 1);
        path = name;
    }
    return path.EqualsExact(Westring(U".")) || path.EqualsExact(Westring(U".."));
}
