#pragma once

// The machine-level key store: "com.kestgrid.plist" in the folder
// <home>/<organisation>/<application>, native settings format.

#include <QString>

QString keyStorePath();
void getRegKey(const QString &key, QString &value);
// Answers whether the store took the value; on false its file is as it was.
bool setRegKey(const QString &key, const QString &value);
