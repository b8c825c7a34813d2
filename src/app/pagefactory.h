#pragma once

// The pages the main window makes on demand, keyed by page id.

#include <QString>
#include <QStringList>

class MyDialog;

// The 33 page ids, in the order of the factory's table.
const QStringList &pageIds();

// Makes the page of id with the given title, or nothing when id names no page
// class of this program.
MyDialog *createPage(const QString &id, const QString &name);
