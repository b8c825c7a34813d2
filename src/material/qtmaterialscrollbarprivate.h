#pragma once

#include <QColor>
#include <QtGlobal>

class QtMaterialScrollBar;
class QtMaterialScrollBarStateMachine;

// Data and set-up of a scroll bar.
class QtMaterialScrollBarPrivate
{
    Q_DISABLE_COPY(QtMaterialScrollBarPrivate)
    Q_DECLARE_PUBLIC(QtMaterialScrollBar)

public:
    explicit QtMaterialScrollBarPrivate(QtMaterialScrollBar *q);
    virtual ~QtMaterialScrollBarPrivate();

    void init();

    QtMaterialScrollBar *const q_ptr;
    QtMaterialScrollBarStateMachine *stateMachine = nullptr;
    QColor backgroundColor;
    QColor sliderColor;
    QColor canvasColor;
    bool hideOnMouseOut = true;
    bool useThemeColors = true;
};
