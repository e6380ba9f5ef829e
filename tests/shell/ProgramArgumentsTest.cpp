// The paths a started program is given: drive and network paths among the
// words of a command line in the form the system's programs read (the test
// drive map: C: is "/", S: is /dev/shm), everything else as written. Where
// programs read drive paths themselves, every line stays as it is.
#include "shell/ProgramArguments.h"

#include "platform/SystemTraits.h"
#include "platform/win32.h"
#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using shelltest::Narrow;

struct TCase {
    const char* text;
    const char* translated;  // what the system's own programs get; elsewhere `text`
};

std::string Expected(const TCase& c) {
    return ProgramsReadSlashNames ? c.translated : c.text;
}

// A share mapped to S:'s folder for one test, removed after it.
class CShareScope {
public:
    CShareScope() { SetEnvironmentVariableW(W32TEXT("QUORVANE_SHARES"), W32TEXT("\\\\srv\\share=/dev/shm")); }
    ~CShareScope() { SetEnvironmentVariableW(W32TEXT("QUORVANE_SHARES"), nullptr); }
};

TEST(ProgramArgumentsTest, OnlyAbsolutePathsCountAsPaths) {
    struct {
        const char* word;
        bool path;
    } const cases[] = {
        {"C:\\x", true},  {"c:/x", true},       {"S:\\", true},  {"\\\\srv\\share\\a", true},
        {"C:", false},    {"a:b", false},       {"C:x", false},  {"x\\y", false},
        {"1:\\x", false}, {"\\\\.\\pipe\\p", false}, {"\\\\?\\C:\\x", false}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, IsAbsolutePathWord(Westring(c.word))) << c.word;
    }
}

TEST(ProgramArgumentsTest, DirectArgumentsGetTheProgramsFormOfEachPathWord) {
    CShareScope share;
    const TCase cases[] = {
        {"C:\\usr\\bin\\x", "/usr/bin/x"},
        // A line with a path is written anew, each word by the same rules.
        {"-o S:\\out.txt  \"a\"b", "\"-o\" /dev/shm/out.txt ab"},
        // Quoted words are words too, and are quoted again when they need it.
        {"\"S:\\a b\\c.txt\" next", "\"/dev/shm/a b/c.txt\" next"},
        {"\"S:\\dir x\\\\\"", "\"/dev/shm/dir x/\""},
        // A folder keeps its closing separator.
        {"S:\\dir\\", "/dev/shm/dir/"},
        // A mapped share, and one that is not (its path stays).
        {"\\\\srv\\share\\f.txt", "/dev/shm/f.txt"},
        {"\\\\elsewhere\\share\\f.txt", "\\\\elsewhere\\share\\f.txt"},
        // Words that only look like paths, and a drive nothing maps: the
        // line stays as it was typed.
        {"a:b  C: \"x\"\\y --file=C:\\x http://h/p", "a:b  C: \"x\"\\y --file=C:\\x http://h/p"},
        {"Q:\\nowhere", "Q:\\nowhere"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Expected(c), Narrow(TranslateDirectArguments(Westring(c.text)))) << c.text;
    }
}

TEST(ProgramArgumentsTest, ShellLinesGetTheProgramsFormOfTypedPathWordsOnly) {
    const TCase cases[] = {
        {"cat C:\\etc\\hostname | wc -l", "cat /etc/hostname | wc -l"},
        {"cat <S:\\in.txt >S:\\out.txt", "cat </dev/shm/in.txt >/dev/shm/out.txt"},
        {"ls S:\\a;echo S:\\b&&x", "ls /dev/shm/a;echo /dev/shm/b&&x"},
        // A path that needs quotes gets the shell's.
        {"cat S:\\a#b~", "cat '/dev/shm/a#b~'"},
        // Wildcards stay outside the quotes, for the shell to expand.
        {"ls S:\\d\\*.txt", "ls /dev/shm/d/*.txt"},
        {"ls S:\\my\\d x\\*.t?t", "ls /dev/shm/my/d x\\*.t?t"},
        // What the user quoted or wrote for the shell stays the shell's.
        {"echo 'S:\\a' \"C:\\b\" $HOME\\C:\\x C:\\$x", "echo 'S:\\a' \"C:\\b\" $HOME\\C:\\x C:\\$x"},
        {"echo a:b C: x\\y Q:\\nowhere", "echo a:b C: x\\y Q:\\nowhere"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Expected(c), Narrow(TranslateShellLine(Westring(c.text)))) << c.text;
    }
}

TEST(ProgramArgumentsTest, ProgramArgumentPathLeavesWhatIsNoPathOnADrive) {
    const TCase cases[] = {
        {"S:\\x.txt", "/dev/shm/x.txt"},
        {"S:\\", "/dev/shm/"},
        {"name.txt", "name.txt"},
        {"sub\\name.txt", "sub\\name.txt"},
        {"Q:\\x", "Q:\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Expected(c), Narrow(ProgramArgumentPath(Westring(c.text)))) << c.text;
    }
}

}  // namespace
