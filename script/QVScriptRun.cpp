// Running a script as a whole: arguments and redirection, the statements
// from first to last, the report of an error, and the clean-up at the end.
#include <new>

#include "app/settings/Colours.h"
#include "base/io/StreamWrite.h"
#include "base/io/StreamWriteFile.h"
#include "console/Console.h"
#include "script/QVScript.h"
#include "script/values/ScriptValue.h"
#include "script/values/ScriptVariable.h"
#include "script/values/TextFileValue.h"
#include "script/values/ValueHeap.h"
#include "ui/ConsoleControl.h"

namespace {

// The file name of a redirection word: the rest after the operator with
// leading blanks removed, or the next word when the operator stands alone.
Westring RedirectionTarget(const WestringStore& words, int& index) {
    const Westring& word = *words.At(index);
    if (word.Length() == 1) {
        if (index + 1 < words.Count())
            return *words.At(++index);
        return Westring();
    }
    return word.Mid(1, word.Length() - 1).TrimLeft();
}

}  // namespace

int QVScript::Run(const WestringStore& arguments) {
    int savedAbortState = UserAbortState;
    QVScript* savedConverter = CTextFileValue::converter;
    CTextFileValue::converter = this;
    m_failed = false;
    {
        // Values of this run live in a heap of their own, which also keeps
        // an outer run's values out of this run's report.
        CValueHeapScope heapScope;
        CValueHeap& heap = heapScope.Heap();
        heap.poolLimit = valueMemoryLimit;
        CScriptNestingGuard nesting;
        // Running out of memory ends the script, not the program: the error
        // is reported once the script's values are gone and memory is back.
        CToken* outOfMemoryAt = nullptr;
        try {
            ValueHandle args(CScriptValue::OfType(ScriptList));
            for (int i = 0; i < arguments.Count(); i++) {
                const Westring& word = *arguments.At(i);
                if (word.Length() > 0 && word[0] == '>') {
                    Westring name = RedirectionTarget(arguments, i);
                    if (!name.IsEmpty()) {
                        if (m_output)
                            m_output->Close();
                        delete m_output;
                        m_output = new CStreamWriteFile(name);
                    }
                } else if (word.Length() > 0 && word[0] == '<') {
                    Westring name = RedirectionTarget(arguments, i);
                    if (!name.IsEmpty())
                        DeclareVariable(m_stdinIdentifier, ValueHandle(new CTextFileValue(name, false)));
                } else {
                    args->AppendListItem(ValueHandle(new CScriptValue(word)));
                }
            }
            heap.reportStream = m_output;
            DeclareVariable(m_argsIdentifier, args);
            UserAbortState = UserAbortPolling;
            TokenizeAll();
            Advance();
            while (!m_end)
                ExecStatement();
        } catch (EScriptError& error) {
            if (!error.HasPosition())
                error.SetToken(*(CurrentToken() ? CurrentToken() : EndToken()));
            ReportError(error);
        } catch (EError& error) {
            ReportError(error);
        } catch (std::bad_alloc&) {
            outOfMemoryAt = CurrentToken() ? CurrentToken() : EndToken();
        }
        m_return.Release();
        FreeAllScopes();
        if (outOfMemoryAt)
            ReportError(ERunError(outOfMemoryAt, Westring("Out of memory")));
        if (heap.tracker.Count() > 0) {
            Write("Leaked values:\n");
            heap.ListLeakedValues(*m_output);
            heap.FreeLeakedValues();
        }
        DeleteRemainingScopes();
        heap.reportStream = nullptr;
        heap.ResetValuePool();
    }
    UserAbortState = savedAbortState;
    CTextFileValue::converter = savedConverter;
    return 1;
}

void QVScript::ReportError(const EError& error) {
    m_failed = true;
    if (Console)
        Console->SetAttribute(ColourOf(ColourErrors));
    Write(error.GetText());
    if (Console)
        Console->SetAttribute(ColourOf(ColourCommandLine));
    Write("\n");
}
