#pragma once

// The per-user settings file (INI, user scope, keyed by the organisation and
// application names): read and write one key of one group per call.

#include <QString>

void getConfig(const QString &group, const QString &key, QString &value);
void setConfig(const QString &group, const QString &key, const QString &value);

// The single-instance test: the application never restricts itself to one
// running instance, so this always answers false.
bool checkOnly();
