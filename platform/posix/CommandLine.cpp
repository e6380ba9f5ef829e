// Command lines split into arguments, for started programs and for
// CommandLineToArgvW.
#include "platform/posix/CommandLine.h"

#include "platform/posix/HandleObject.h"

#include <cstring>

namespace w32 {

namespace {

bool IsBlank(WCHAR c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::vector<WString> SplitCommandLine(const WString& line) {
    std::vector<WString> args;
    size_t i = 0;
    size_t n = line.size();
    // The program name.
    WString program;
    if (i < n && line[i] == u'"') {
        size_t close = line.find(u'"', i + 1);
        program = line.substr(i + 1, (close == WString::npos ? n : close) - i - 1);
        i = close == WString::npos ? n : close + 1;
    } else {
        while (i < n && !IsBlank(line[i])) {
            program += line[i++];
        }
    }
    args.push_back(program);
    for (;;) {
        while (i < n && IsBlank(line[i])) {
            i++;
        }
        if (i >= n) {
            break;
        }
        WString arg;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(line[i]))) {
            size_t backslashes = 0;
            while (i < n && line[i] == u'\\') {
                backslashes++;
                i++;
            }
            if (i < n && line[i] == u'"') {
                arg.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    arg += u'"';
                } else if (quoted && i + 1 < n && line[i + 1] == u'"') {
                    arg += u'"';
                    i++;
                } else {
                    quoted = !quoted;
                }
                i++;
            } else {
                arg.append(backslashes, u'\\');
                if (i < n && (quoted || !IsBlank(line[i]))) {
                    arg += line[i++];
                }
            }
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace w32

LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR lpCmdLine, int* pNumArgs) {
    if (pNumArgs == nullptr) {
        w32::Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<w32::WString> args = w32::SplitCommandLine(w32::WideArg(lpCmdLine));
    // One block: the pointers, then the texts, freed by one LocalFree.
    size_t bytes = (args.size() + 1) * sizeof(LPWSTR);
    for (const w32::WString& arg : args) {
        bytes += (arg.size() + 1) * sizeof(WCHAR);
    }
    LPWSTR* table = static_cast<LPWSTR*>(LocalAlloc(LMEM_FIXED, bytes));
    if (table == nullptr) {
        return nullptr;
    }
    WCHAR* text = reinterpret_cast<WCHAR*>(table + args.size() + 1);
    for (size_t k = 0; k < args.size(); k++) {
        table[k] = text;
        std::memcpy(text, args[k].data(), args[k].size() * sizeof(WCHAR));
        text[args[k].size()] = 0;
        text += args[k].size() + 1;
    }
    table[args.size()] = nullptr;
    *pNumArgs = static_cast<int>(args.size());
    return table;
}
