#pragma once

#include <QColor>
#include <QIcon>
#include <QPointF>
#include <QSize>
#include <QString>

class QtMaterialBadge;

// Data and set-up of a badge.
class QtMaterialBadgePrivate
{
    Q_DISABLE_COPY(QtMaterialBadgePrivate)
    Q_DECLARE_PUBLIC(QtMaterialBadge)

public:
    explicit QtMaterialBadgePrivate(QtMaterialBadge *q);
    ~QtMaterialBadgePrivate();

    void init();

    QtMaterialBadge *const q_ptr;
    QString text;
    QColor textColor;
    QColor backgroundColor;
    QSize size;
    QIcon icon;
    QPointF relativePosition;
    int padding = 10;
    bool useThemeColors = true;
};
