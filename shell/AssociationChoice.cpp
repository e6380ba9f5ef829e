#include "shell/AssociationChoice.h"

int ChooseAssociationCommand(AssociationSet&, const entry*, Westring&) {
    // No association is matched: the configured program serves.
    return 0;
}
