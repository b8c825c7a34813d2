// Sweep actions of the system settings and project transfer: network, address, about, projects, upload and download.

#include "readfaults.h"

namespace readfaults {

QList<faultsweep::Action> settingsActions()
{
    QList<faultsweep::Action> actions;
    return actions;
}

} // namespace readfaults
