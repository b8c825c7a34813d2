// Sweep actions of start-up and the project store: the layout checks and repairs, retention, new projects, id allocation.

#include "readfaults.h"

namespace readfaults {

QList<faultsweep::Action> startupActions()
{
    QList<faultsweep::Action> actions;
    return actions;
}

} // namespace readfaults
