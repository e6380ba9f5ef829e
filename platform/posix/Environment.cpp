// Environment variables with Windows rules: names without regard to case, and
// the hidden "=X:" names that hold each drive's current directory.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

extern char** environ;

namespace w32 {

namespace {

// getenv/setenv are not safe against each other; every access of this layer
// goes through this lock.
std::mutex& EnvLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

// POSIX names cannot begin with "=", so the drive variables live here. Keyed by
// the upper-case name ("=C:").
std::map<WString, WString>& DriveVars() {
    static std::map<WString, WString>* vars = new std::map<WString, WString>;
    return *vars;
}

WString UpperName(const WString& name) {
    WString out = name;
    for (WCHAR& c : out) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<WCHAR>(c - 32);
        }
    }
    return out;
}

// The name as the environment spells it: an exact match first, else the first
// that differs only in case. Empty when there is none. Call under EnvLock.
std::string FindName(const std::string& name) {
    if (std::getenv(name.c_str())) {
        return name;
    }
    WString wanted = ToUtf16(name);
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* eq = std::strchr(*entry, '=');
        if (!eq) {
            continue;
        }
        std::string candidate(*entry, eq - *entry);
        if (EqualNoCase(ToUtf16(candidate), wanted)) {
            return candidate;
        }
    }
    return std::string();
}

bool IsDriveName(const WString& name) {
    return !name.empty() && name[0] == u'=';
}

bool IsSearchPathName(const WString& name) {
    return EqualNoCase(name, WString(u"PATH"));
}

// COMSPEC reads in drive form, and names /bin/sh when it is not set.
bool IsInterpreterName(const WString& name) {
    return EqualNoCase(name, WString(u"COMSPEC"));
}

// The items of a list, empty ones left out.
template <class Text>
std::vector<Text> SplitList(const Text& list, typename Text::value_type separator) {
    std::vector<Text> items;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(separator, start);
        if (end == Text::npos) {
            end = list.size();
        }
        if (end > start) {
            items.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

// PATH as the system's code reads it: the directories in drive form,
// separated by ";". A directory no drive holds cannot be named there.
WString DriveFormSearchPath(const std::string& posixList) {
    WString out;
    for (const std::string& item : SplitList(posixList, ':')) {
        WString windows;
        if (ToWindowsPath(item, windows)) {
            if (!out.empty()) {
                out += u';';
            }
            out += windows;
        }
    }
    return out;
}

// 0 and ERROR_ENVVAR_NOT_FOUND when missing.
bool Lookup(const WString& name, WString& value) {
    std::string text;
    {
        std::lock_guard<std::mutex> guard(EnvLock());
        if (IsDriveName(name)) {
            auto it = DriveVars().find(UpperName(name));
            if (it == DriveVars().end()) {
                return false;
            }
            value = it->second;
            return true;
        }
        std::string found = FindName(Utf8(name));
        if (found.empty() && !IsInterpreterName(name)) {
            return false;
        }
        // The interpreter is always known: the POSIX shell when none is named.
        text = found.empty() ? std::string("/bin/sh") : std::getenv(found.c_str());
    }
    // Path translation may read the drive variables: outside the lock.
    if (IsSearchPathName(name)) {
        value = DriveFormSearchPath(text);
    } else if (IsInterpreterName(name) && !text.empty() && text[0] == '/') {
        if (!ToWindowsPath(text, value)) {
            value = ToUtf16(text);
        }
    } else {
        value = ToUtf16(text);
    }
    return true;
}

BOOL Store(const WString& name, const WString* value) {
    if (name.empty() || name.find(u'=', 1) != WString::npos) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::string text = value && IsSearchPathName(name) ? PosixSearchPath(*value) : value ? Utf8(*value) : "";
    std::lock_guard<std::mutex> guard(EnvLock());
    if (IsDriveName(name)) {
        if (value) {
            DriveVars()[UpperName(name)] = *value;
        } else {
            DriveVars().erase(UpperName(name));
        }
        return TRUE;
    }
    std::string utf8Name = Utf8(name);
    std::string existing = FindName(utf8Name);
    if (!value) {
        // Removing a variable that is not there succeeds, as on Windows.
        if (!existing.empty() && ::unsetenv(existing.c_str()) != 0) {
            return FailErrno();
        }
        return TRUE;
    }
    if (::setenv(existing.empty() ? utf8Name.c_str() : existing.c_str(), text.c_str(), 1) != 0) {
        return FailErrno();
    }
    return TRUE;
}

}  // namespace

std::string PosixSearchPath(const WString& driveList) {
    std::string out;
    auto add = [&out](const std::string& item) {
        if (!out.empty()) {
            out += ':';
        }
        out += item;
    };
    for (const WString& item : SplitList(driveList, u';')) {
        std::string posix;
        if (ToPosixPath(item, posix)) {
            add(posix);
        }
    }
    // The process's own directories that no drive holds were never shown in
    // drive form; they stay searched.
    std::string own;
    {
        std::lock_guard<std::mutex> guard(EnvLock());
        std::string name = FindName("PATH");
        own = name.empty() ? std::string() : std::getenv(name.c_str());
    }
    for (const std::string& item : SplitList(own, ':')) {
        WString windows;
        if (!ToWindowsPath(item, windows)) {
            add(item);
        }
    }
    return out;
}

WString GetDriveVariable(const WString& name) {
    WString value;
    return Lookup(name, value) ? value : WString();
}

void SetDriveVariable(const WString& name, const WString* value) {
    Store(name, value);
}

std::vector<std::pair<WString, WString>> DriveVariables() {
    std::lock_guard<std::mutex> guard(EnvLock());
    return std::vector<std::pair<WString, WString>>(DriveVars().begin(), DriveVars().end());
}

}  // namespace w32

using w32::WString;

DWORD WINAPI GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize) {
    WString value;
    if (!lpName || !w32::Lookup(lpName, value)) {
        w32::Fail(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    SetLastError(ERROR_SUCCESS);  // an empty value answers 0 as well; the error tells them apart
    return w32::CopyOut(value, lpBuffer, nSize);
}

DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
    WString value;
    if (!lpName || !w32::Lookup(w32::WideArg(lpName), value)) {
        w32::Fail(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    SetLastError(ERROR_SUCCESS);
    return w32::CopyOut(w32::Utf8(value), lpBuffer, nSize);
}

BOOL WINAPI SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue) {
    if (!lpName) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    WString value = w32::WideArg(lpValue);
    return w32::Store(lpName, lpValue ? &value : nullptr);
}

BOOL WINAPI SetEnvironmentVariableA(LPCSTR lpName, LPCSTR lpValue) {
    if (!lpName) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    WString value = w32::WideArg(lpValue);
    return w32::Store(w32::WideArg(lpName), lpValue ? &value : nullptr);
}

LPWSTR WINAPI GetEnvironmentStringsW() {
    // NAME=VALUE texts one after the other, each ending in a zero, the block in
    // another; the drive variables first, as Windows sorts them.
    WString block;
    for (const auto& var : w32::DriveVariables()) {
        block += var.first + u'=' + var.second;
        block += u'\0';
    }
    std::vector<std::string> entries;
    {
        std::lock_guard<std::mutex> guard(w32::EnvLock());
        for (char** entry = environ; entry && *entry; ++entry) {
            entries.push_back(*entry);
        }
    }
    for (const std::string& entry : entries) {
        size_t eq = entry.find('=');
        WString name = w32::ToUtf16(entry.substr(0, eq));
        if (eq != std::string::npos && w32::IsSearchPathName(name)) {
            block += name + u'=' + w32::DriveFormSearchPath(entry.substr(eq + 1));
        } else {
            block += w32::ToUtf16(entry);
        }
        block += u'\0';
    }
    block += u'\0';
    LPWSTR out = new WCHAR[block.size()];
    std::copy(block.begin(), block.end(), out);
    return out;
}

BOOL WINAPI FreeEnvironmentStringsW(LPWSTR penv) {
    delete[] penv;
    return TRUE;
}
