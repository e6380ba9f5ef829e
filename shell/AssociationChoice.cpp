#include "shell/AssociationChoice.h"

int ChooseAssociationCommand(AssociationSet&, const entry*, Westring&) {
    // Associations are matched by the command runner, still to come; until
    // then no association applies and the configured program serves.
    return 0;
}
