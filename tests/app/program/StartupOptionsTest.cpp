#include "app/program/StartupOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

struct TParsed {
    EStartupOptionsResult result;
    TStartupOptions options;
};

void Parse(const std::vector<std::string>& words, TParsed& parsed) {
    std::vector<const char*> argv{"quorvane"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    parsed.result = ParseStartupOptions(static_cast<int>(argv.size()), argv.data(), parsed.options);
}

std::string Utf8(const Westring& text) {
    Estring bytes;
    text.ToUtf8(bytes);
    return bytes.Data();
}

TEST(StartupOptions, MissingOrUnknownOptionsEndTheProgram) {
    struct TCase {
        std::vector<std::string> words;
        EStartupOptionsResult expected;
    };
    const TCase cases[] = {
        {{"-v"}, StartupOptionsNoFile},
        {{"-e"}, StartupOptionsNoFile},
        {{"-l", "C:\\", "-E"}, StartupOptionsNoFile},
        {{"-h", "host"}, StartupOptionsUsage},
        {{"-q"}, StartupOptionsUsage},
        {{"/z", "-v", "a"}, StartupOptionsUsage},
        {{"-s"}, StartupOptionsOk},
        {{"-x"}, StartupOptionsOk},
        {{"-l"}, StartupOptionsOk},
    };
    for (const TCase& c : cases) {
        TParsed parsed;
        Parse(c.words, parsed);
        EXPECT_EQ(parsed.result, c.expected) << c.words[0];
    }
}

TEST(StartupOptions, ValuesGoToTheirFieldsWhateverTheCaseOrPrefix) {
    TParsed parsed;
    Parse({"-Verbose", "a.txt", "/E", "b.txt", "-l", "C:\\left", "-R", "C:\\right", "-x", "go.bat"}, parsed);
    ASSERT_EQ(parsed.result, StartupOptionsOk);
    EXPECT_EQ(Utf8(parsed.options.viewFile), "a.txt");
    EXPECT_TRUE(parsed.options.hideCursor);
    EXPECT_EQ(Utf8(parsed.options.editFile), "b.txt");
    EXPECT_EQ(Utf8(parsed.options.leftDirectory), "C:\\left");
    EXPECT_EQ(Utf8(parsed.options.rightDirectory), "C:\\right");
    EXPECT_EQ(Utf8(parsed.options.exitDirectoryFile), "go.bat");
    EXPECT_TRUE(parsed.options.iniFile.IsEmpty());
}

TEST(StartupOptions, ScriptTakesEveryLaterWordAsItsArguments) {
    TParsed parsed;
    Parse({"-s", "tool.qvs", "x", "-v", "y"}, parsed);
    ASSERT_EQ(parsed.result, StartupOptionsOk);
    EXPECT_EQ(Utf8(parsed.options.scriptName), "tool.qvs");
    ASSERT_EQ(parsed.options.scriptArguments.Count(), 3);
    EXPECT_EQ(Utf8(*parsed.options.scriptArguments.At(0)), "x");
    EXPECT_EQ(Utf8(*parsed.options.scriptArguments.At(1)), "-v");
    EXPECT_EQ(Utf8(*parsed.options.scriptArguments.At(2)), "y");
    EXPECT_TRUE(parsed.options.viewFile.IsEmpty());
}

TEST(StartupOptions, ExitFileAsLastWordIsEmptyAndTheRunGoesOn) {
    TParsed parsed;
    Parse({"-x"}, parsed);
    EXPECT_EQ(parsed.result, StartupOptionsOk);
    EXPECT_TRUE(parsed.options.exitDirectoryFile.IsEmpty());
}

TEST(StartupOptions, PlainWordIsTheIniFileUnlessItNamesADirectory) {
    qvtest::TempDir dir;
    std::string folder = qvtest::U8(dir.Path());
    TParsed asDirectory;
    Parse({folder}, asDirectory);
    EXPECT_EQ(asDirectory.result, StartupOptionsOk);
    EXPECT_TRUE(asDirectory.options.iniFile.IsEmpty());

    std::string ini = folder + "\\sub\\..\\my.ini";
    TParsed asIni;
    Parse({ini}, asIni);
    EXPECT_EQ(asIni.result, StartupOptionsOk);
    EXPECT_EQ(Utf8(asIni.options.iniFile), folder + "\\my.ini");
}

TEST(StartupOptions, OptionWordsAreDecodedAsUtf8) {
    TParsed parsed;
    Parse({"-v", "caf\xC3\xA9.txt", "-e", "bad\xFF"}, parsed);
    ASSERT_EQ(parsed.result, StartupOptionsOk);
    EXPECT_EQ(parsed.options.viewFile.Length(), 8);
    EXPECT_EQ(parsed.options.viewFile[3], U'\u00E9');
    // An invalid byte is taken as one Latin-1 character.
    EXPECT_EQ(parsed.options.editFile.Length(), 4);
    EXPECT_EQ(parsed.options.editFile[3], U'\u00FF');
}

TEST(StartupOptions, TheUsageTextNamesExactlyTheOptionsThatAreTaken) {
    const std::string usage = UsageMessage;
    for (char letter = 'a'; letter <= 'z'; letter++) {
        SCOPED_TRACE(std::string(1, letter));
        const std::string option = std::string("-") + letter;
        TParsed parsed;
        Parse({option, "word"}, parsed);
        const bool taken = parsed.result != StartupOptionsUsage;
        const bool explained = usage.find("\t" + option + ": ") != std::string::npos;
        const bool inSynopsis =
            usage.find("[" + option) != std::string::npos || usage.find("|" + option) != std::string::npos;
        EXPECT_EQ(explained, taken);
        EXPECT_EQ(inSynopsis, taken);
    }
}

}  // namespace
