#include "fileops/sync/DirectoryContents.h"

#include <utility>
#include <vector>

#include "base/io/DirScanner.h"
#include "base/mask/MaskExpression.h"
#include "base/strings/Str32.h"
#include "fileops/TimestampResolution.h"
#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"

CSynchronizer::CDirectoryContents::CDirectoryContents(const char* label, const Westring& fileFilter,
                                                      const Westring& directoryFilter)
    : resolution(ResolutionEvenSeconds), label(label), count(0), fileFilter(fileFilter),
      directoryFilter(directoryFilter) {
    allowDuplicates = true;
}

void CSynchronizer::CDirectoryContents::Append(const Westring& path, const TTimestamp& time, uint64_t size,
                                               uint32_t attributes) {
    TDirectoryItem* item = new TDirectoryItem;
    item->path = path;
    item->time = time;
    item->size = size;
    item->attributes = attributes;
    bool saved = appendUnsorted;
    appendUnsorted = true;
    Insert(item);
    appendUnsorted = saved;
}

int CSynchronizer::CDirectoryContents::ComparePaths(const Westring& a, const Westring& b) {
    int c = Str32CompareNoCase(a.Data(), b.Data());
    return c != 0 ? c : Str32Compare(a.Data(), b.Data());
}

namespace {

const uint32_t AttrReparsePoint = 0x400;

bool IsDotName(const char32_t* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// One directory, then the directories below it that passed the filter (after
// the listing is closed, so that a deep tree holds one open search at a time).
int ReadDirectory(CSynchronizer::CDirectoryContents& contents, MaskExpression& mask, const Westring& directory,
                  const Westring& relative) {
    std::vector<std::pair<Westring, Westring>> subdirectories;  // path, name
    {
        CDirScanner scanner(directory);
        entry* item = nullptr;
        DWORD error = scanner.FindFirst(Westring("*"), CDirScanner::ScanEverything, &item);
        // A directory that cannot be listed contributes nothing.
        while (error == 0) {
            contents.count++;
            if (UserAbortState == UserAbortRequested || PollEscapeKey()) {
                return 1;
            }
            if (!IsDotName(item->name)) {
                int resolution = GetTimestampResolution(item->time);
                if (resolution > contents.resolution) {
                    contents.resolution = resolution;
                }
                bool isDirectory = (item->attributes & CSynchronizer::TDirectoryItem::AttrDirectory) != 0;
                const Westring& filter = isDirectory ? contents.directoryFilter : contents.fileFilter;
                if (mask.Match(filter, directory, item) == 1) {
                    Westring name(item->name);
                    Westring path = relative.IsEmpty() ? name : relative + Westring("\\") + name;
                    contents.Append(path, item->time, item->size, item->attributes);
                    // A link is listed but never entered: it may lead back up.
                    if (isDirectory && (item->attributes & AttrReparsePoint) == 0) {
                        subdirectories.emplace_back(path, name);
                    }
                }
            }
            error = scanner.FindNext(&item);
        }
    }
    for (const auto& sub : subdirectories) {
        if (ReadDirectory(contents, mask, AddTrailingBackslash(directory) + sub.second, sub.first) != 0) {
            return 1;
        }
    }
    return 0;
}

}  // namespace

int CSynchronizer::ReadTree(CDirectoryContents& contents, const Westring& root) {
    int result;
    {
        Westring title = Westring("Reading ") + Westring(contents.label.Data()) + Westring(":");
        DirReadProgress progress(&contents.count, title);
        MaskExpression mask;
        result = ReadDirectory(contents, mask, root, Westring());
    }
    contents.Sort();
    return result;
}
