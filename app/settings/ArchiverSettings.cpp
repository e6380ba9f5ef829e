#include "app/settings/ArchiverSettings.h"

TArchiverSettings ArchiverSettings[ArchiverCount];

namespace {

// One row of defaults; null stands for no value.
struct TArchiverDefaults {
    const char* Extract;
    const char* ExtractListfileSwitch;
    const char* ExtractDirSpec;
    const char* Compress;
    const char* CompressUpdate;
    const char* CompressListfileSwitch;
    const char* CompressDirSpec;
    const char* Delete;
    const char* name;
    const char* extension;
    int singleFile;
};

const TArchiverDefaults ArchiverCommandTable[ArchiverCount] = {
    {"unzip --z", nullptr, "!\\*", "zip -r", nullptr, "-@ < ", "!", "zip -d", "ZIP", "zip", 0},
    {"rar x -std", "@", "!", "rar a -std -r0", nullptr, "@", "!", "rar d -std -r", "RAR", "rar", 0},
    {"lh16 x /s", nullptr, "!\\*", "lh16 a /s /e", nullptr, nullptr, "!\\*", "lh16 d /s", "LHARC", "lzh", 0},
    {"arj x", "!", "!\\*", "arj a -r", nullptr, "!", "!\\*", "arj d", "ARJ", "arj", 0},
    {"ace32 x", "@", "!", "ace32 a -r", nullptr, "@", "!", "ace32 d", "ACE", "ace", 0},
    {"ha x", nullptr, "!\\*", "ha ar", nullptr, nullptr, "!\\*", "ha d", "HA", "ha", 0},
    {"gzip -dc %a > %f", nullptr, nullptr, "gzip -c %f > %a", nullptr, nullptr, nullptr, nullptr, "GZIP", "gz", 1},
    {"tar -xf", "--files-from=", "!", "tar -rf", nullptr, "--files-from=", "!", "tar --delete -f", "TAR", "tar", 0},
    {"7z x", "@", "!", "7z a", nullptr, "@", "!", "7z d", "7ZIP", "7z", 0},
    {"bzip2 -dc %a > %f", nullptr, nullptr, "bzip2 -c %f > %a", nullptr, nullptr, nullptr, nullptr, "BZIP2", "bz2", 1},
    {"xz -dc %a > %f", nullptr, nullptr, "xz -c %f > %a", nullptr, nullptr, nullptr, nullptr, "XZ", "xz", 1},
    {"tar -xzf", "--files-from=", "!", "tar -czf", "zevoz -u %a %f", "--files-from=", "!", "zevoz -d %a %f", "TAR/GZIP",
     "tar.gz", 0},
    {"tar -xjf", "--files-from=", "!", "tar --bzip2 -cf", "zevoz -ub %a %f", "--files-from=", "!", "zevoz -db %a %f",
     "TAR/BZIP2", "tar.bz2", 0},
    {"tar --xz -xf", "--files-from=", "!", "tar --xz -cf", "zevoz -ux %a %f", "--files-from=", "!", "zevoz -dx %a %f",
     "TAR/XZ", "tar.xz", 0},
};

}  // namespace

void SetDefaultArchiverCommands() {
    for (int i = 0; i < ArchiverCount; i++) {
        const TArchiverDefaults& row = ArchiverCommandTable[i];
        TArchiverSettings& settings = ArchiverSettings[i];
        settings.Extract = row.Extract;
        settings.ExtractListfileSwitch = row.ExtractListfileSwitch;
        settings.ExtractDirSpec = row.ExtractDirSpec;
        settings.Compress = row.Compress;
        settings.CompressUpdate = row.CompressUpdate;
        settings.CompressListfileSwitch = row.CompressListfileSwitch;
        settings.CompressDirSpec = row.CompressDirSpec;
        settings.Delete = row.Delete;
        settings.slashFlag = (i == 7 || i == 11) ? 1 : 0;
    }
}

Estring GetArchiverName(int index) {
    if (index < 0 || index >= ArchiverCount) {
        return Estring();
    }
    return Estring(ArchiverCommandTable[index].name);
}
