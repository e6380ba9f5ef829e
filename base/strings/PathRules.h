// The path rules that Westring and Estring paths share: backslash and '/'
// separate, only a backslash is ever added.
#pragma once

template <class S>
S AddTrailingBackslashOf(const S& path) {
    S out(path);
    if (!path.IsEmpty() && path[path.Length() - 1] != '\\')
        out += '\\';
    return out;
}

// Keeps the backslashes of "\\"; C:\ becomes C:.
template <class S>
S RemoveTrailingBackslashOf(const S& path) {
    int n = path.Length();
    if (n == 0 || path[n - 1] != '\\' || (n <= 3 && path[1] == '\\'))
        return path;
    return path.Left(n - 1);
}

template <class S>
int LastSeparatorOf(const S& path) {
    int i = path.Length() - 1;
    while (i >= 0 && path[i] != '\\' && path[i] != '/')
        i--;
    return i;
}

template <class S>
S ExtractFileNameOf(const S& path) {
    int at = LastSeparatorOf(path);
    return at < 0 ? path : path.Mid(at + 1, 0);
}

// Keeps the root of X:\; empty without a separator.
template <class S>
S ExtractDirectoryOf(const S& path) {
    int at = LastSeparatorOf(path);
    if (at < 0)
        return S();
    return path.Left(at == 2 && path[1] == ':' ? 3 : at);
}
