// Choosing the command of the associations whose masks match an entry.
#pragma once

#include "base/io/Entry.h"
#include "base/strings/Westring.h"

class AssociationSet;

// One match gives its command, several a choice; negative when the user
// cancelled, 0 when none matches, positive when a command was chosen.
int ChooseAssociationCommand(AssociationSet& set, const entry* item, Westring& command);
