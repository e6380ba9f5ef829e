// The numbers of the help pages that the screens ask for. Every caller of
// ShowHelp names its page from here, and the shipped help text carries a
// section for each number in HelpTopics, which its test reads back.
#pragma once

enum EHelpTopic {
    HelpTopicIndex = 0,
    HelpTopicPanels = 1,
    HelpTopicViewer = 2,
    HelpTopicEditor = 3,
    HelpTopicConfiguration = 4,
    HelpTopicCommandHistory = 5,
    HelpTopicConfirmations = 6,
    HelpTopicFileFind = 7,
    HelpTopicAttributes = 8,
    HelpTopicCompare = 9,
    HelpTopicUserMenu = 10,
    HelpTopicIniFile = 11,
    HelpTopicSynchronize = 12,
    // The pull-down menus: this number plus the menu's title index; the Right
    // menu shares the Left menu's page, so only the first four titles have one.
    HelpTopicMenus = 100,
    HelpTopicMenuPages = 4,
};

// Every page number above, the menu pages one by one.
extern const int HelpTopics[];
extern const int HelpTopicCount;
