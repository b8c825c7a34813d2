// Sweep actions of room operation and the 3-D view: device replies, the device log, placements.

#include "readfaults.h"

namespace readfaults {

QList<faultsweep::Action> operationActions()
{
    QList<faultsweep::Action> actions;
    return actions;
}

} // namespace readfaults
