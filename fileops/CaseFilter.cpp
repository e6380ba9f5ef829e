#include "fileops/CaseFilter.h"

#include "app/settings/Config.h"

bool FileSystemInCaseFilter(const Westring& fileSystem) {
    if (fileSystem.IsEmpty()) {
        return false;
    }
    const Westring& list = Config.CaseFilter;
    int start = 0;
    while (start <= list.Length()) {
        int end = start;
        while (end < list.Length() && list[end] != ' ') {
            end++;
        }
        if (end > start && list.Mid(start, end - start).EqualsNoCase(fileSystem)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}
