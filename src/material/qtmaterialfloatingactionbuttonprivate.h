#pragma once

#include "qtmaterialflatbuttonprivate.h"
#include "qtmaterialfloatingactionbutton.h"

#include <QPoint>
#include <QRect>

// The floating action button's additions to a flat button: its corner, its size
// and its distance from the corner's edges.
class QtMaterialFloatingActionButtonPrivate : public QtMaterialFlatButtonPrivate
{
    Q_DISABLE_COPY(QtMaterialFloatingActionButtonPrivate)
    Q_DECLARE_PUBLIC(QtMaterialFloatingActionButton)

public:
    static constexpr int DefaultDiameter = 56;
    static constexpr int MiniDiameter = 40;

    explicit QtMaterialFloatingActionButtonPrivate(QtMaterialFloatingActionButton *q);
    ~QtMaterialFloatingActionButtonPrivate() override;

    void init();
    // The shadow of the raised button, stronger for the full-size button.
    void setupProperties();

    // Where the button sits in its parent; a null rectangle without a parent.
    QRect fabGeometry() const;

    int diameter() const { return mini ? MiniDiameter : DefaultDiameter; }
    int iconSize() const { return mini ? 18 : 24; }

    Qt::Corner corner = Qt::BottomRightCorner;
    bool mini = false;
    QPoint offset = QPoint(34, 36);
};
