#include "viewedit/ViewerSearchState.h"

Westring ViewerSearchText;
TViewerSearchOptions ViewerSearchOptions = {0, 0, 0};
uint32_t ViewerCodePage = 0;
int32_t TranslateCodePagePosition = 0;
