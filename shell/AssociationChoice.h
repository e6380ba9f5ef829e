// The choice among several associated commands that match one file.
#pragma once

#include "app/settings/Association.h"
#include "base/strings/Westring.h"

// " Choose command ": the commands of the list, in its order. 1 with the
// chosen command, -1 when the user left any other way than Enter.
int ChooseAssociation(CAssociationList& list, Westring& command);
