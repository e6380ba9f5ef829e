#include "app/program/StartupOptions.h"

#include "base/strings/ConsoleCodePage.h"
#include "fileops/ReadableDirectory.h"
#include "base/os/PathNormalizer.h"

const char* const NoFileSpecifiedMessage = "No file specified";
const char* const UsageMessage =
    "Usage:\tqv [ini_file] [-v|-e file_name] [-l|-r directory] [-x batch_file] [-s script_name]\n"
    "\t-v: invoke internal viewer\n"
    "\t-e: invoke internal editor\n"
    "\t-l: specify left panel's directory\n"
    "\t-r: specify right panel's directory\n"
    "\t-x: write a batch file that changes to the active panel's directory at exit\n"
    "\t-s: run a script";

namespace {

// Options that take the next word, and whether a missing word is an error.
struct TValueOption {
    char letter;
    Westring TStartupOptions::*field;
    bool required;
};

const TValueOption ValueOptions[] = {
    {'e', &TStartupOptions::editFile, true},           {'v', &TStartupOptions::viewFile, true},
    {'l', &TStartupOptions::leftDirectory, false},     {'r', &TStartupOptions::rightDirectory, false},
    {'x', &TStartupOptions::exitDirectoryFile, false},
};

char LowerLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

EStartupOptionsResult ParseStartupOptions(int argc, const char* const* argv, TStartupOptions& options) {
    for (int i = 1; i < argc; i++) {
        const char* word = argv[i];
        if (word[0] != '-' && word[0] != '/') {
            Westring path(word);
            if (!IsDirectoryReadable(path)) {
                NormalizePath(path);
                options.iniFile = path;
            }
            continue;
        }
        char letter = LowerLetter(word[1]);
        if (letter == 's') {
            if (i + 1 >= argc) {
                return StartupOptionsOk;
            }
            options.scriptName = Westring(argv[i + 1], ConsoleOutputCodePage);
            for (int k = i + 2; k < argc; k++) {
                options.scriptArguments.Add(new Westring(argv[k]));
            }
            return StartupOptionsOk;
        }
        const TValueOption* option = nullptr;
        for (const TValueOption& candidate : ValueOptions) {
            if (candidate.letter == letter) {
                option = &candidate;
            }
        }
        if (option == nullptr) {
            return StartupOptionsUsage;
        }
        if (letter == 'v') {
            options.hideCursor = true;
        }
        if (i + 1 >= argc) {
            if (option->required) {
                return StartupOptionsNoFile;
            }
            options.*(option->field) = Westring();
            continue;
        }
        options.*(option->field) = Westring(argv[++i]);
    }
    return StartupOptionsOk;
}
