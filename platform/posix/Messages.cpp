// FormatMessageA/W over the system's message texts, kept here as one table in
// the words Windows uses, each ending in the line break of its message file.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Utf.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace w32 {

namespace {

struct SystemMessage {
    DWORD code;
    const char* text;
};

const SystemMessage kSystemMessages[] = {
    {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
    {ERROR_INVALID_FUNCTION, "Incorrect function.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_INVALID_DATA, "The data is invalid.\r\n"},
    {ERROR_OUTOFMEMORY, "Not enough memory resources are available to complete this operation.\r\n"},
    {ERROR_INVALID_DRIVE, "The system cannot find the drive specified.\r\n"},
    {ERROR_CURRENT_DIRECTORY, "The directory cannot be removed.\r\n"},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive.\r\n"},
    {ERROR_NO_MORE_FILES, "There are no more files.\r\n"},
    {ERROR_WRITE_PROTECT, "The media is write protected.\r\n"},
    {ERROR_NOT_READY, "The device is not ready.\r\n"},
    {ERROR_CRC, "Data error (cyclic redundancy check).\r\n"},
    {ERROR_BAD_LENGTH, "The program issued a command but the command length is incorrect.\r\n"},
    {ERROR_SEEK, "The drive cannot locate a specific area or track on the disk.\r\n"},
    {ERROR_WRITE_FAULT, "The system cannot write to the specified device.\r\n"},
    {ERROR_READ_FAULT, "The system cannot read from the specified device.\r\n"},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning.\r\n"},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_LOCK_VIOLATION,
     "The process cannot access the file because another process has locked a portion of the file.\r\n"},
    {ERROR_HANDLE_EOF, "Reached the end of the file.\r\n"},
    {ERROR_HANDLE_DISK_FULL, "The disk is full.\r\n"},
    {ERROR_NOT_SUPPORTED, "The request is not supported.\r\n"},
    {ERROR_BAD_NETPATH, "The network path was not found.\r\n"},
    {ERROR_DEV_NOT_EXIST, "The specified network resource or device is no longer available.\r\n"},
    {ERROR_NETWORK_ACCESS_DENIED, "Network access is denied.\r\n"},
    {ERROR_BAD_NET_NAME, "The network name cannot be found.\r\n"},
    {ERROR_ALREADY_ASSIGNED, "The local device name is already in use.\r\n"},
    {ERROR_FILE_EXISTS, "The file exists.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_BROKEN_PIPE, "The pipe has been ended.\r\n"},
    {ERROR_BUFFER_OVERFLOW, "The file name is too long.\r\n"},
    {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
    {ERROR_CALL_NOT_IMPLEMENTED, "This function is not supported on this system.\r\n"},
    {ERROR_SEM_TIMEOUT, "The semaphore timeout period has expired.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found.\r\n"},
    {ERROR_NEGATIVE_SEEK, "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {ERROR_DIR_NOT_EMPTY, "The directory is not empty.\r\n"},
    {ERROR_BAD_PATHNAME, "The specified path is invalid.\r\n"},
    {ERROR_BUSY, "The requested resource is in use.\r\n"},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
    {ERROR_BAD_EXE_FORMAT, "%1 is not a valid Win32 application.\r\n"},
    {ERROR_ENVVAR_NOT_FOUND, "The system could not find the environment option that was entered.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
    {ERROR_PIPE_BUSY, "All pipe instances are busy.\r\n"},
    {ERROR_NO_DATA, "The pipe is being closed.\r\n"},
    {ERROR_PIPE_NOT_CONNECTED, "No process is on the other end of the pipe.\r\n"},
    {ERROR_MORE_DATA, "More data is available.\r\n"},
    {WAIT_TIMEOUT, "The wait operation timed out.\r\n"},
    {ERROR_DIRECTORY, "The directory name is invalid.\r\n"},
    {ERROR_NOT_OWNER, "Attempt to release mutex not owned by caller.\r\n"},
    {ERROR_PARTIAL_COPY, "Only part of a ReadProcessMemory or WriteProcessMemory request was completed.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     "The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {ERROR_INVALID_ADDRESS, "Attempt to access invalid address.\r\n"},
    {ERROR_ARITHMETIC_OVERFLOW, "Arithmetic result exceeded 32 bits.\r\n"},
    {ERROR_PIPE_CONNECTED, "There is a process on other end of the pipe.\r\n"},
    {ERROR_PIPE_LISTENING, "Waiting for a process to open the other end of the pipe.\r\n"},
    {ERROR_STOPPED_ON_SYMLINK, "The create operation stopped after reaching a symbolic link.\r\n"},
    {ERROR_OPERATION_ABORTED,
     "The I/O operation has been aborted because of either a thread exit or an application request.\r\n"},
    {ERROR_IO_PENDING, "Overlapped I/O operation is in progress.\r\n"},
    {ERROR_NOACCESS, "Invalid access to memory location.\r\n"},
    {ERROR_INVALID_FLAGS, "Invalid flags.\r\n"},
    {ERROR_UNRECOGNIZED_VOLUME,
     "The volume does not contain a recognized file system.\r\nPlease make sure that all required file system "
     "drivers are loaded and that the volume is not corrupted.\r\n"},
    {ERROR_NO_UNICODE_TRANSLATION,
     "No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {ERROR_TOO_MANY_LINKS, "An attempt was made to create more links on a file than the file system supports.\r\n"},
    {ERROR_BAD_DEVICE, "The specified device name is invalid.\r\n"},
    {ERROR_NO_NETWORK, "The network is not present or not started.\r\n"},
    {ERROR_REQUEST_ABORTED, "The request was aborted.\r\n"},
    {ERROR_PRIVILEGE_NOT_HELD, "A required privilege is not held by the client.\r\n"},
    {ERROR_TIMEOUT, "This operation returned because the timeout period expired.\r\n"},
    {ERROR_CANT_ACCESS_FILE, "The file cannot be accessed by the system.\r\n"},
    {ERROR_CANT_RESOLVE_FILENAME, "The name of the file cannot be resolved by the system.\r\n"},
    {ERROR_NOT_CONNECTED, "This network connection does not exist.\r\n"},
    {ERROR_NOT_A_REPARSE_POINT, "The file or directory is not a reparse point.\r\n"},
    {ERROR_INVALID_REPARSE_DATA, "The data present in the reparse point buffer is invalid.\r\n"},
};

const char* SystemMessageText(DWORD code) {
    // An HRESULT made from a Windows error reads as that error.
    if ((code & 0xFFFF0000u) == 0x80070000u) {
        code &= 0xFFFFu;
    }
    for (const SystemMessage& message : kSystemMessages) {
        if (message.code == code) {
            return message.text;
        }
    }
    return nullptr;
}

// The source of inserts: a va_list walked in order, or an array of values.
class InsertArguments {
public:
    InsertArguments(va_list* list, bool isArray) : m_list(list), m_isArray(isArray) {}

    bool Available() const { return m_list != nullptr; }

    // The value of insert number n (1-based), pointer-sized as Windows passes them.
    DWORD_PTR Get(unsigned n) {
        if (m_isArray) {
            return reinterpret_cast<const DWORD_PTR*>(m_list)[n - 1];
        }
        while (m_values.size() < n) {
            m_values.push_back(va_arg(*m_list, DWORD_PTR));
        }
        return m_values[n - 1];
    }

private:
    va_list* m_list;
    bool m_isArray;
    std::vector<DWORD_PTR> m_values;
};

// One insert with its printf-style format (default "s"), as UTF-16.
template <class Char>
std::u16string FormatInsert(DWORD_PTR value, const std::string& format) {
    if (format == "s") {
        static const Char kEmpty[1] = {0};
        const Char* text = reinterpret_cast<const Char*>(value);
        std::basic_string<Char> s(text != nullptr ? text : kEmpty);
        if constexpr (sizeof(Char) == 1) {
            int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
            std::u16string wide(static_cast<size_t>(n), u'\0');
            if (n > 0) {
                MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), wide.data(), n);
            }
            return wide;
        } else {
            return std::u16string(s.begin(), s.end());
        }
    }
    if (format == "S" || format == "ls" || format == "ws") {
        const WCHAR* text = reinterpret_cast<const WCHAR*>(value);
        return text != nullptr ? std::u16string(text) : std::u16string();
    }
    // Numbers: the printf conversions Windows accepts in !...!, on a 64-bit value.
    std::string spec = "%";
    for (char c : format) {
        if (c != 'l' && c != 'h' && c != 'I' && c != '6' && c != '4' && c != '3' && c != '2') {
            spec += c;
        }
    }
    spec.insert(spec.size() - 1, "ll");
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), spec.c_str(), static_cast<unsigned long long>(value));
    return ToUtf16(buffer);
}

// Expands a message: escapes (%0 %n %r %t %% %. %! %space), inserts %1..%99
// with optional !format!, then the line width rule.
template <class Char>
bool ExpandMessage(const std::u16string& text, DWORD flags, InsertArguments& arguments, std::u16string& out) {
    const bool ignoreInserts = (flags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
    const DWORD width = flags & FORMAT_MESSAGE_MAX_WIDTH_MASK;
    // With a width, the text's own line breaks are soft: they become blanks,
    // and only %n breaks stay. A char 1 marks those hard breaks meanwhile.
    const char16_t kHardBreak = 1;
    std::u16string body;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (width != 0 && (c == u'\r' || c == u'\n')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            body += u' ';
            continue;
        }
        if (c != u'%' || i + 1 >= text.size()) {
            body += c;
            continue;
        }
        const char16_t next = text[++i];
        if (next == u'0') {
            break;
        }
        if (next >= u'1' && next <= u'9') {
            size_t end = i + 1;
            if (end < text.size() && text[end] >= u'0' && text[end] <= u'9') {
                ++end;
            }
            std::string format = "s";
            if (end < text.size() && text[end] == u'!') {
                const size_t close = text.find(u'!', end + 1);
                if (close != std::u16string::npos) {
                    format = ToUtf8(text.data() + end + 1, close - end - 1);
                    end = close + 1;
                }
            }
            if (ignoreInserts) {
                body += u'%';
                body.append(text, i, end - i);
            } else if (!arguments.Available()) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return false;
            } else {
                const unsigned number = static_cast<unsigned>(std::stoul(ToUtf8(text.data() + i, end - i)));
                body += FormatInsert<Char>(arguments.Get(number), format);
            }
            i = end - 1;
            continue;
        }
        switch (next) {
        case u'n': body += width != 0 ? std::u16string(1, kHardBreak) : std::u16string(u"\r\n"); break;
        case u'r': body += u'\r'; break;
        case u't': body += u'\t'; break;
        case u' ': body += u' '; break;
        default:  // %% %. %! and any other character stand for themselves
            body += next;
            break;
        }
    }
    if (width == 0) {
        out = body;
        return true;
    }
    // Break the soft text into lines of at most `width` characters at blanks
    // (a longer word is cut); FORMAT_MESSAGE_MAX_WIDTH_MASK never breaks.
    out.clear();
    size_t lineStart = 0;
    size_t lastBlank = std::u16string::npos;
    for (size_t i = 0; i < body.size(); ++i) {
        const char16_t c = body[i];
        if (c == kHardBreak) {
            out += u"\r\n";
            lineStart = out.size();
            lastBlank = std::u16string::npos;
            continue;
        }
        out += c;
        if (c == u' ') {
            lastBlank = out.size() - 1;
        }
        if (width != FORMAT_MESSAGE_MAX_WIDTH_MASK && out.size() - lineStart > width) {
            if (lastBlank != std::u16string::npos && lastBlank > lineStart) {
                out.replace(lastBlank, 1, u"\r\n");
                lineStart = lastBlank + 2;
            } else {
                out.insert(out.size() - 1, u"\r\n");
                lineStart = out.size() - 1;
            }
            lastBlank = std::u16string::npos;
        }
    }
    return true;
}

// The whole call, in the caller's character type.
template <class Char>
DWORD FormatMessageOf(DWORD flags, LPCVOID source, DWORD messageId, Char* buffer, DWORD size, va_list* arguments) {
    std::u16string text;
    if ((flags & FORMAT_MESSAGE_FROM_STRING) != 0) {
        if (source == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if constexpr (sizeof(Char) == 1) {
            const char* narrow = static_cast<const char*>(source);
            const int n = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
            text.resize(static_cast<size_t>(n));
            MultiByteToWideChar(CP_ACP, 0, narrow, -1, text.data(), n);
            text.pop_back();
        } else {
            text = static_cast<const WCHAR*>(source);
        }
    } else if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) != 0) {
        const char* message = SystemMessageText(messageId);
        if (message == nullptr) {
            SetLastError(ERROR_MR_MID_NOT_FOUND);
            return 0;
        }
        text = ToUtf16(message);
    } else {
        // No message modules exist here.
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    InsertArguments inserts(arguments, (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) != 0);
    std::u16string wide;
    if (!ExpandMessage<Char>(text, flags, inserts, wide)) {
        return 0;
    }
    std::basic_string<Char> result;
    if constexpr (sizeof(Char) == 1) {
        if (!wide.empty()) {
            const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                              nullptr, nullptr);
            result.resize(static_cast<size_t>(n));
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), result.data(), n, nullptr,
                                nullptr);
        }
    } else {
        result.assign(wide.begin(), wide.end());
    }
    if (buffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Char* target = buffer;
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        // `buffer` points at the caller's pointer; `size` is the least to allocate.
        const size_t units = std::max<size_t>(result.size() + 1, size);
        target = static_cast<Char*>(LocalAlloc(LMEM_FIXED, units * sizeof(Char)));
        if (target == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        *reinterpret_cast<Char**>(buffer) = target;
    } else if (result.size() + 1 > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(result.begin(), result.end(), target);
    target[result.size()] = 0;
    return static_cast<DWORD>(result.size());
}

}  // namespace

}  // namespace w32

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                            va_list* arguments) {
    return w32::FormatMessageOf<char>(flags, source, messageId, buffer, size, arguments);
}

DWORD WINAPI FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD, LPWSTR buffer, DWORD size,
                            va_list* arguments) {
    return w32::FormatMessageOf<WCHAR>(flags, source, messageId, buffer, size, arguments);
}
