#include "tests/script/ScriptFixture.h"

#include "base/strings/StringStore.h"
#include "script/QVScript.h"

namespace qvtest {

void ScriptTest::WriteFile(const std::string& name, const std::string& bytes) const {
    ASSERT_TRUE(WriteFileBytes(folder.Join(W(name)), bytes));
}

std::string ScriptTest::Run(const std::string& text, const std::vector<std::string>& args) {
    WriteFile("t.qvs", text);
    return RunFile(PathOf("t.qvs"), args);
}

std::string ScriptTest::RunFile(const std::string& path, const std::vector<std::string>& args) {
    WestringStore sources;
    sources.Add(new Westring(path.c_str()));
    WestringStore words;
    for (const std::string& word : args)
        words.Add(new Westring(word.c_str()));
    CMemoryStream* output = new CMemoryStream();
    std::string result;
    {
        QVScript script(sources, output);
        script.statementBudget = budget;
        script.valueMemoryLimit = memoryLimit;
        script.Run(words);
        failed = script.Failed();
        // The stream may have been replaced by a redirection.
        result = static_cast<IStreamWrite*>(output) == &script.Output() ? output->text_ : std::string();
    }
    return result;
}

std::string ScriptTest::Expand(const std::string& expected) const {
    std::string path = PathOf("t.qvs");
    std::string out;
    for (char c : expected) {
        if (c == '@')
            out += path;
        else
            out += c;
    }
    return out;
}

void ScriptTest::RunCases(const TScriptCase* cases, size_t count) {
    for (size_t i = 0; i < count; i++) {
        SCOPED_TRACE(cases[i].script);
        EXPECT_EQ(Expand(cases[i].expected), Run(cases[i].script));
    }
}

}  // namespace qvtest
