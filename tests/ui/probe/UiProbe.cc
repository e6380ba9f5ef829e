// A small program for the end-to-end tests of the dialog framework: it greets
// the scripted host like the real program, runs one dialog chosen by its
// argument, reports the dialog's state on the top row after every event and
// its exit code on the second row, then ends on a key with that code.
//
//   focus   a field, a check box, a radio group and OK/Cancel
//   field   a field with an input history and text on the clipboard
//   list    a list of words to search in
#include <cstring>
#include <initializer_list>

#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "app/settings/Histories.h"
#include "base/strings/LocaleCase.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/ScreenSize.h"
#include "ui/Dialog.h"
#include "ui/ListBox.h"
#include "ui/StringField.h"

namespace {

void Report(int row, const Estring& text) {
    Console->FillRect(0, row, ScreenColumns, 1, 0x07);
    Console->WriteText(0, row, text.Data(), 0x07);
}

Estring Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out;
}

// A dialog that reports after every event.
class ReportingDialog : public Dialog {
public:
    ReportingDialog(int width, int height) : Dialog(-1, -2, width, height, ColourOf(ColourMessages)) {}
    virtual Estring State() = 0;

protected:
    void OnEventHandled() override { Report(0, State()); }
};

class FocusDialog : public ReportingDialog {
public:
    FocusDialog() : ReportingDialog(50, 12), text("abc") {
        AddStringField(2, 1, 1, text, 20, -1, FieldKindNoHistory);
        AddCheckBox(2, 3, 1, &verbose, "_Verbose", 1);
        AddRadioButton(2, 5, 2, &speed, 0, "_Fast");
        AddRadioButton(2, 6, 0, &speed, 1, "_Slow");
        AddOkCancelButtons(-1, -1, 1);
    }
    Estring State() override {
        Estring s;
        s.Format("focus=%d verbose=%d speed=%d", Focused(), verbose, static_cast<int>(speed));
        return s;
    }

private:
    Westring text;
    uint8_t verbose = 0;
    int32_t speed = 1;
};

class FieldDialog : public ReportingDialog {
public:
    explicit FieldDialog(Westring& text) : ReportingDialog(50, 6) {
        field = static_cast<StringField*>(Element(AddStringField(2, 1, 1, text, 30, 40, FieldKindFindFiles)));
        AddOkCancelButtons(-1, -1, 1);
    }
    Estring State() override {
        Estring s;
        s.Format("text=[%s] sel=%d,%d", Utf8(field->Text()).Data(), field->SelectionStart(), field->SelectionEnd());
        return s;
    }

private:
    StringField* field;
};

class ListDialog : public ReportingDialog {
public:
    ListDialog() : ReportingDialog(30, 8) {
        for (const char* word : {"apple", "Dog", "door", "emu"}) {
            words.Add(new Westring(word));
        }
        AddListBoxWestring(1, 0, 1, 20, 6, words, &selection, 0);
    }
    Estring State() override {
        Estring s;
        s.Format("sel=%d", static_cast<int>(selection));
        return s;
    }

private:
    WestringStore words;
    int32_t selection = 0;
};

int RunAndReport(ReportingDialog* dialog) {
    int result = dialog->Run();
    delete dialog;  // the fields store their text in their histories
    Estring s;
    s.Format("result=%d", result);
    const WestringStore& history = InputHistories[FieldKindFindFiles];
    if (history.Count() > 0) {
        Estring more;
        more.Format(" newest=[%s] count=%d", Utf8(*history.At(history.Count() - 1)).Data(), history.Count());
        s += more;
    }
    Report(1, s);
    while (ReadInputEvent(nullptr, -1) == 0) {}
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    Console = new CConsole();
    Console->GetScreenSize(ScreenColumns, ScreenRows);
    InitCaseTables();
    ResetColours();
    const char* what = argc > 1 ? argv[1] : "";
    if (std::strcmp(what, "focus") == 0) {
        return RunAndReport(new FocusDialog());
    }
    if (std::strcmp(what, "field") == 0) {
        AddInputHistory(Westring("alpha"), FieldKindFindFiles, true);
        AddInputHistory(Westring("beta"), FieldKindFindFiles, true);
        Console->SetClipboardText(Westring("pasted"));
        static Westring text("hello");
        return RunAndReport(new FieldDialog(text));
    }
    if (std::strcmp(what, "list") == 0) {
        return RunAndReport(new ListDialog());
    }
    return 99;
}
