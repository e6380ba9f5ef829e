#include "script/ScriptRunner.h"

#include "app/settings/Config.h"
#include "console/Console.h"
#include "script/QVScript.h"
#include "shell/ProgramSearch.h"

bool RunScriptByName(const Westring& name, const WestringStore& arguments) {
    Westring found;
    // Searched like a program, with the script path before PATH.
    if (!FindProgramOnPath(name, found, &Config.ScriptPath)) {
        Estring utf8;
        name.ToUtf8(utf8);
        Estring line = Estring("Script ") + utf8 + " not found\n";
        if (Console)
            Console->WriteTty(line.Data());
        return false;
    }
    WestringStore sources;
    sources.Add(new Westring(found));
    QVScript script(sources);
    script.Run(arguments);
    return !script.Failed();
}
