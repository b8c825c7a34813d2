#pragma once

#include "qtmaterialsystembar.h"

#include <QColor>
#include <QString>

class QBasicTimer;

// Data of a system bar: its repaint timer, the date format and its colours.
class QtMaterialSystemBarPrivate
{
    Q_DISABLE_COPY(QtMaterialSystemBarPrivate)
    Q_DECLARE_PUBLIC(QtMaterialSystemBar)

public:
    explicit QtMaterialSystemBarPrivate(QtMaterialSystemBar *q);
    ~QtMaterialSystemBarPrivate();

    void init();

    QtMaterialSystemBar *const q_ptr;
    QBasicTimer *timer = nullptr;
    QString dateTimeFormat;
    bool useThemeColors = true;
    QColor backgroundColor;
    QColor textColor;
};
