#include "tests/support/TempDir.h"

#include "base/strings/Utf8Codec.h"

#include <atomic>
#include <cstdio>

namespace qvtest {

namespace {

std::atomic<unsigned> g_counter{0};

WString Num(unsigned long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lx", value);
    return W(buf);
}

}  // namespace

WString W(const std::string& utf8) {
    std::u16string units = Utf8ToUtf16(utf8);
    return WString(units.begin(), units.end());
}

std::string U8(const WString& text) {
    return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

WString TempDir::MakeUnder(const WString& root) {
    WString base = root;
    if (!base.empty() && base.back() != W32TEXT('\\')) {
        base += W32TEXT('\\');
    }
    for (;;) {
        WString candidate = base + W("qvtest-") + Num(GetCurrentProcessId()) + W("-") + Num(g_counter++);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            return candidate;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return WString();
        }
    }
}

TempDir::TempDir() {
    WCHAR buf[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    m_path = MakeUnder(WString(buf, n));
}

TempDir::~TempDir() {
    if (!m_path.empty()) {
        RemoveTree(m_path);
    }
}

WString TempDir::Join(const WString& name) const {
    return m_path + W32TEXT('\\') + name;
}

bool WriteFileBytes(const WString& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const WString& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) {
        out.append(buf, got);
    }
    CloseHandle(h);
    return out;
}

void RemoveTree(const WString& path) {
    WIN32_FIND_DATAW data;
    WString pattern = path + W("\\*");
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            WString name = data.cFileName;
            if (name == W(".") || name == W("..")) {
                continue;
            }
            WString child = path + W32TEXT('\\') + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink) {
                RemoveTree(child);
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryW(child.c_str());
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

}  // namespace qvtest
