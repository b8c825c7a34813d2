#pragma once

// The tiles a list page placed in its grid, in grid order (the add tile last), and
// a short text of each for comparisons: "kind:id:name".

#include "shell/manageritem.h"

#include <QGridLayout>
#include <QStringList>
#include <QWidget>

namespace varnotest {

inline QList<ManagerItem *> gridTiles(QWidget *box)
{
    QList<ManagerItem *> out;
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    for (int i = 0; grid && i < grid->count(); ++i) {
        if (auto *tile = qobject_cast<ManagerItem *>(grid->itemAt(i)->widget()))
            out.append(tile);
    }
    return out;
}

inline QStringList tileTexts(QWidget *box)
{
    QStringList out;
    for (ManagerItem *tile : gridTiles(box))
        out.append(QStringLiteral("%1:%2:%3").arg(tile->getType()).arg(tile->getId()).arg(tile->getName()));
    return out;
}

} // namespace varnotest
