// Arbitrary command lines expanded for arbitrary file names. The input is the
// mode (first byte, modulo 3), then the command, a NUL byte and the name, as
// UTF-8. The input prompt is left out (it waits for the user): every "i" of
// the command becomes "j". The result is
// refused (-1) or fits the expansion buffer; list files made on the way are
// removed after each input.
#include "app/settings/Config.h"
#include "base/os/Environment.h"
#include "shell/CommandMacros.h"
#include "shell/TempFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        Config.CmdChar = '!';
        // The search path would make every input a walk over the disk.
        TopEnvironment().Set(Estring("PATH"), "");
        TopEnvironment().Set(Estring("QV_FUZZ"), "value");
        return true;
    }();
    (void)ready;
    if (size == 0) {
        return 0;
    }
    int mode = data[0] % 3;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    size_t split = text.find('\0');
    std::string command = text.substr(0, split);
    std::string name = split == std::string::npos ? std::string() : text.substr(split + 1);
    // No letter "i" at all: a prompt may follow modifiers and selectors.
    for (char& c : command) {
        if (c == 'i') {
            c = 'j';
        }
    }
    Westring expanded(command.c_str());
    Westring file(name.c_str());
    int result = ExpandCommandMacrosInString(expanded, file, 0, mode);
    if (result < -1 || result > 1 || expanded.Length() >= MacroBufferUnits) {
        __builtin_trap();
    }
    RemoveTempFiles();
    return 0;
}
