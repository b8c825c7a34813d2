#pragma once

#include "qtmaterialslidelayout.h"

#include <QPointer>

class QParallelAnimationGroup;
class QPropertyAnimation;
class QWidget;

// The two position animations of a slide layout and the pages of the running slide.
class QtMaterialSlideLayoutPrivate
{
    Q_DISABLE_COPY(QtMaterialSlideLayoutPrivate)
    Q_DECLARE_PUBLIC(QtMaterialSlideLayout)

public:
    explicit QtMaterialSlideLayoutPrivate(QtMaterialSlideLayout *q);
    ~QtMaterialSlideLayoutPrivate();

    void init();
    // The end of a slide: the page that left is hidden, the new one is current.
    void finishSlide();
    bool sliding() const;

    QtMaterialSlideLayout *const q_ptr;
    QPropertyAnimation *outAnimation = nullptr;
    QPropertyAnimation *inAnimation = nullptr;
    QParallelAnimationGroup *group = nullptr;
    // Guarded: a page may be deleted during its slide.
    QPointer<QWidget> outgoing;
    QPointer<QWidget> incoming;
    int direction = 1;
    unsigned int animationDuration = 700;
    QEasingCurve::Type animationType = QEasingCurve::OutBack;
    Qt::Orientation orientation = Qt::Horizontal;
};
