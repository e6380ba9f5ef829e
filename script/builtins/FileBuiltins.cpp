// The builtins over files: copying the active panel's selection, copying,
// moving and deleting one file or tree by its path, and text files opened as
// lists of lines. They drive the same engines as the panel commands; the
// questions a script's options do not answer are asked as there.
#include "app/panels/Panel.h"
#include "base/io/EError.h"
#include "base/io/StdFile.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/SystemError.h"
#include "fileops/CopyCommand.h"
#include "fileops/CopyEngine.h"
#include "fileops/CopyProgressWindow.h"
#include "fileops/Descriptions.h"
#include "fileops/FileOpAnswers.h"
#include "platform/win32.h"
#include "script/QVScript.h"
#include "script/builtins/FileOpOptions.h"
#include "script/values/PanelEntryValues.h"
#include "script/values/ReturnCodeValue.h"
#include "script/values/ScriptValue.h"
#include "script/values/TextFileValue.h"

ValueHandle QVScript::BuiltinCopy(TArgumentStore& args) {
    CheckArgRange(args.Count(), 1, 2);
    Westring destination = GetArgument(args, ScriptString, 0)->GetString();
    ValueHandle options = args.Count() > 1 ? GetArgument(args, ScriptList, 1) : ValueHandle();
    ResetFileOpAnswers();
    int flags = ApplyCopyOptions(options.Get());
    CPanel* panel = &Panels[ActiveSide];
    // What is tagged is only known once the panel has been read.
    ReadPanelIfMarked(panel);
    bool done = CopyMoveFiles(panel, OtherPanel(panel), flags, &destination);
    return ValueHandle(new CScriptValue(done));
}

ValueHandle QVScript::CopyOrMoveFile(TArgumentStore& args, bool move) {
    CheckArgRange(args.Count(), 2, 3);
    Westring source = GetArgument(args, ScriptString, 0)->GetString();
    Westring destination = GetArgument(args, ScriptString, 1)->GetString();
    ValueHandle options = args.Count() > 2 ? GetArgument(args, ScriptList, 2) : ValueHandle();
    ResetFileOpAnswers();
    ApplyFileOpOptions(options.Get());
    int result = 0;
    StdFile descriptions;
    {
        // The source directory's descriptions travel with the file.
        OpenDescriptionFile(source, nullptr, descriptions, false, false);
        CHeldDescriptionFile held(descriptions);
        if (move) {
            result = MoveOneFile(source, destination, 1, 1, nullptr, descriptions, true);
        } else {
            CCopyProgressWindow progress;
            uint64_t size = 0;
            GetFileSizeByName(source, size);
            progress.bytesTotal = int64_t(size);
            progress.StartTiming();
            result = CopyOneFile(source, destination, 1, 1, &progress, descriptions, 0);
            progress.Stop();
        }
    }
    DeleteCopyingWindow();
    descriptions.Close();
    return ValueHandle(new CReturnCodeValue(int32_t(result)));
}

ValueHandle QVScript::BuiltinCopyFile(TArgumentStore& args) {
    return CopyOrMoveFile(args, false);
}

ValueHandle QVScript::BuiltinMoveFile(TArgumentStore& args) {
    return CopyOrMoveFile(args, true);
}

ValueHandle QVScript::BuiltinDeleteFile(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring path = GetArgument(args, ScriptString, 0)->GetString();
    return ValueHandle(new CReturnCodeValue(int32_t(DeleteFileOrLink(path))));
}

ValueHandle QVScript::BuiltinOpenText(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring path = GetArgument(args, ScriptString, 0)->GetString();
    ResetFileOpAnswers();
    // A file that cannot be opened reads as one without lines.
    return ValueHandle(new CTextFileValue(path, false));
}

ValueHandle QVScript::BuiltinCreateText(TArgumentStore& args) {
    CheckArgCount(args.Count(), 1);
    Westring path = GetArgument(args, ScriptString, 0)->GetString();
    ResetFileOpAnswers();
    ValueHandle file(new CTextFileValue(path, true));
    // Lines written to a file that is not there would be lost without a
    // word: the script ends here instead.
    CTextFileValue& text = static_cast<CTextFileValue&>(*file);
    if (!text.IsOpen())
        throw EError(Westring("Unable to create text file: ") + path + Westring(": ") +
                     FormatSystemError(text.OpenError()));
    return file;
}
