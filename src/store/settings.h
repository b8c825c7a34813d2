#pragma once

// The per-user settings file (INI, user scope, keyed by the organisation and
// application names): read one key, or write keys of one group, per call.

#include <QList>
#include <QPair>
#include <QString>

void getConfig(const QString &group, const QString &key, QString &value);
// The writers answer whether the settings file took the change.
bool setConfig(const QString &group, const QString &key, const QString &value);
// Several keys of one group in one write of the file: all of them or none.
bool setConfig(const QString &group, const QList<QPair<QString, QString>> &keyValues);

// The single-instance test: the application never restricts itself to one
// running instance, so this always answers false.
bool checkOnly();
