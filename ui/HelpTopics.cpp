#include "ui/HelpTopics.h"

const int HelpTopics[] = {
    HelpTopicIndex,          HelpTopicPanels,        HelpTopicViewer,      HelpTopicEditor,     HelpTopicConfiguration,
    HelpTopicCommandHistory, HelpTopicConfirmations, HelpTopicFileFind,    HelpTopicAttributes, HelpTopicCompare,
    HelpTopicUserMenu,       HelpTopicIniFile,       HelpTopicSynchronize, HelpTopicMenus,      HelpTopicMenus + 1,
    HelpTopicMenus + 2,      HelpTopicMenus + 3,
};
const int HelpTopicCount = sizeof(HelpTopics) / sizeof(HelpTopics[0]);

static_assert(sizeof(HelpTopics) / sizeof(HelpTopics[0]) == HelpTopicSynchronize + 1 + HelpTopicMenuPages,
              "every page number is listed once");
