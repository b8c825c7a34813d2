#pragma once

// The actions of the read-fault sweep, one list per part of the program. Each
// list lives in a file of its own (readfaults_<part>.cpp).

#include "faultsweep.h"

#include <QList>

namespace readfaults {

QList<faultsweep::Action> messagesActions();
// The room, panels and message definitions that rows of messages and records share.
void seedMessages();
QList<faultsweep::Action> startupActions();
QList<faultsweep::Action> settingsActions();
QList<faultsweep::Action> commissioningActions();
QList<faultsweep::Action> moodsActions();
QList<faultsweep::Action> operationActions();
QList<faultsweep::Action> recordsActions();

} // namespace readfaults
