#pragma once

// The four texts of a page request: id, title and the two page arguments.

#include <QString>

struct PageIdEntry
{
    QString id;
    QString name;
    QString prm1;
    QString prm2;
};
