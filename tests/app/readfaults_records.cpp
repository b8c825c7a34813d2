// Sweep actions of the log and message pages: filtering, deletion and the spreadsheet exports.

#include "readfaults.h"

namespace readfaults {

QList<faultsweep::Action> recordsActions()
{
    QList<faultsweep::Action> actions;
    return actions;
}

} // namespace readfaults
