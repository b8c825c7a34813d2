#pragma once

// Every command builder of the bus, by device kind.

#include "bus/airconditioner.h"
#include "bus/climatecommands.h"
#include "bus/lightcommands.h"
#include "bus/networkcommands.h"
