#pragma once

// The names under which rooms are shown: "region-floor-room".

#include <QString>

// The region's name; empty when there is no such region.
QString regionName(int regionId);
// The floor's name within its region; empty when there is no such floor.
QString floorName(int regionId, int floorId);
// "%s-%s-%s" of the region, floor and room names (missing names stay empty).
QString roomTitle(int regionId, int floorId, const QString &roomName);
