#include "fileops/find/FileFindHooks.h"

TFileFindHooks FileFindHooks = {};
