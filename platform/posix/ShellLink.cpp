// COM's shell link object, saved as a desktop entry: the link's target and
// arguments become Exec, its description Name, its working directory Path.
#include "platform/win32.h"

#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IShellLinkW = {0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace w32 {

namespace {

// A value of a desktop entry: backslash, newline, tab and carriage return
// escaped as the format says, a leading blank as "\s" (readers drop leading
// blanks), and any other control character as "\xHH", which the format does
// not know: a reader refuses such a value rather than read it as another.
std::string DesktopEntryValue(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == ' ' && i == 0) {
            out += "\\s";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// One argument of Exec: quoted when it holds a reserved character, with '"',
// '`', '$' and '\' escaped inside the quotes; '%' doubled, since a single
// one would start a field code. (The value's own escaping comes after.)
std::string DesktopExecArgument(const std::string& argument) {
    static const char reserved[] = " \t\n\"'\\><~|&;$*?#()`";
    bool quote = argument.empty() || argument.find_first_of(reserved) != std::string::npos;
    std::string out = quote ? "\"" : "";
    for (char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    if (quote) {
        out += '"';
    }
    return out;
}

// The words of an argument text by the C runtime's rules.
std::vector<std::string> SplitArguments(const WString& arguments) {
    std::vector<std::string> words;
    // The first word follows the rules of a program name: a stand-in takes it.
    WString line = u"x " + arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    for (int i = 1; argv != nullptr && i < count; i++) {
        words.push_back(Utf8(WString(argv[i])));
    }
    LocalFree(argv);
    return words;
}

HRESULT LastErrorResult() {
    return HRESULT_FROM_WIN32(GetLastError());
}

class ShellLink : public IShellLinkW, public IPersistFile {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IShellLinkW)) {
            *object = static_cast<IShellLinkW*>(this);
        } else if (IsEqualGUID(iid, IID_IPersistFile)) {
            *object = static_cast<IPersistFile*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT SetDescription(LPCWSTR name) override {
        description = Utf8(WideArg(name));
        return S_OK;
    }
    HRESULT SetWorkingDirectory(LPCWSTR directory) override {
        std::string posix;
        if (directory == nullptr || !ToPosixPath(WString(directory), posix)) {
            return directory == nullptr ? E_INVALIDARG : LastErrorResult();
        }
        workingDirectory = posix;
        return S_OK;
    }
    HRESULT SetArguments(LPCWSTR text) override {
        arguments = SplitArguments(WideArg(text));
        return S_OK;
    }
    HRESULT SetPath(LPCWSTR file) override {
        std::string posix;
        if (file == nullptr || !ToPosixPath(WString(file), posix)) {
            return file == nullptr ? E_INVALIDARG : LastErrorResult();
        }
        target = posix;
        return S_OK;
    }

    HRESULT Save(LPCOLESTR fileName, BOOL) override {
        if (fileName == nullptr) {
            return E_INVALIDARG;
        }
        std::string path;
        if (!ToPosixPath(WString(fileName), path)) {
            return LastErrorResult();
        }
        // "NAME.lnk" is written as "NAME.desktop".
        size_t dot = path.rfind('.');
        size_t slash = path.rfind('/');
        bool link = dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
                    EqualNoCase(ToUtf16(path.substr(dot)), u".lnk");
        path = (link ? path.substr(0, dot) : path) + ".desktop";
        std::string text = Text();
        // Put in place whole: a temporary file beside it, then one rename.
        std::string temporary = path + ".qv-tmp-" + std::to_string(static_cast<long>(::getpid()));
        int fd = RetryEintr([&] { return ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755); });
        if (fd < 0) {
            FailPathErrno(errno, temporary);
            return LastErrorResult();
        }
        bool written = ::fchmod(fd, 0755) == 0;
        for (size_t done = 0; written && done < text.size();) {
            ssize_t n = RetryEintr([&] { return ::write(fd, text.data() + done, text.size() - done); });
            written = n > 0;
            done += n > 0 ? static_cast<size_t>(n) : 0;
        }
        int error = written ? 0 : errno;
        if (::close(fd) != 0 && written) {
            written = false;
            error = errno;
        }
        if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
            written = false;
            error = errno;
        }
        if (!written) {
            ::unlink(temporary.c_str());
            FailErrno(error);
            return LastErrorResult();
        }
        return S_OK;
    }

private:
    ~ShellLink() override = default;

    std::string Text() const {
        std::string exec;
        if (!target.empty()) {
            exec = DesktopExecArgument(target);
            for (const std::string& argument : arguments) {
                exec += " " + DesktopExecArgument(argument);
            }
        }
        std::string text = "[Desktop Entry]\nType=Application\n";
        text += "Name=" + DesktopEntryValue(description) + "\n";
        if (!exec.empty()) {
            text += "Exec=" + DesktopEntryValue(exec) + "\n";
        }
        if (!workingDirectory.empty()) {
            text += "Path=" + DesktopEntryValue(workingDirectory) + "\n";
        }
        return text;
    }

    std::atomic<ULONG> references{1};
    std::string description;
    std::string workingDirectory;
    std::string target;
    std::vector<std::string> arguments;
};

}  // namespace

}  // namespace w32

HRESULT WINAPI CoInitialize(LPVOID) {
    return S_OK;
}

void WINAPI CoUninitialize() {}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (!IsEqualGUID(clsid, CLSID_ShellLink) || (context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    IShellLinkW* link = new w32::ShellLink;
    HRESULT result = link->QueryInterface(iid, object);
    link->Release();
    return result;
}
