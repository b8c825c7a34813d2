#include "qtmaterialslidelayout.h"
#include "qtmaterialslidelayoutprivate.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWidget>

QtMaterialSlideLayout::QtMaterialSlideLayout(QWidget *parent)
    : QStackedLayout(parent), d_ptr(new QtMaterialSlideLayoutPrivate(this))
{
    d_func()->init();
}

QtMaterialSlideLayout::QtMaterialSlideLayout(QLayout *parentLayout)
    : QStackedLayout(parentLayout), d_ptr(new QtMaterialSlideLayoutPrivate(this))
{
    d_func()->init();
}

QtMaterialSlideLayout::~QtMaterialSlideLayout()
{
    Q_D(QtMaterialSlideLayout);
    // A slide still running must not finish into a half-destroyed layout.
    d->group->stop();
}

void QtMaterialSlideLayout::setAnimationDuration(unsigned int duration)
{
    Q_D(QtMaterialSlideLayout);
    d->animationDuration = duration;
}

unsigned int QtMaterialSlideLayout::animationDuration() const
{
    Q_D(const QtMaterialSlideLayout);
    return d->animationDuration;
}

void QtMaterialSlideLayout::setAnimationType(QEasingCurve::Type type)
{
    Q_D(QtMaterialSlideLayout);
    d->animationType = type;
}

QEasingCurve::Type QtMaterialSlideLayout::animationType() const
{
    Q_D(const QtMaterialSlideLayout);
    return d->animationType;
}

void QtMaterialSlideLayout::setOrientation(Qt::Orientation orientation)
{
    Q_D(QtMaterialSlideLayout);
    d->orientation = orientation;
}

Qt::Orientation QtMaterialSlideLayout::orientation() const
{
    Q_D(const QtMaterialSlideLayout);
    return d->orientation;
}

void QtMaterialSlideLayout::setGeometry(const QRect &rect)
{
    Q_D(QtMaterialSlideLayout);

    if (d->sliding()) {
        // The parent changed size during a slide: the pages travel the new width.
        d->outAnimation->setEndValue(QPoint(-rect.width() * d->direction, 0));
        d->inAnimation->setStartValue(QPoint(rect.width() * d->direction, 0));
        if (d->incoming)
            d->incoming->resize(rect.size());
    } else if (QWidget *current = currentWidget()) {
        current->setGeometry(rect);
    }
}

void QtMaterialSlideLayout::slideToIndex(int index)
{
    slideToWidget(widget(index));
}

void QtMaterialSlideLayout::slideToWidget(QWidget *widget)
{
    Q_D(QtMaterialSlideLayout);

    QWidget *host = parentWidget();
    // Only pages of this layout can slide in.
    if (!widget || !host || indexOf(widget) < 0)
        return;

    if (d->sliding()) {
        if (widget == d->incoming)
            return;
        // Another page is asked for: the running slide ends at once.
        d->group->setCurrentTime(d->group->duration());
        d->group->stop();
        if (d->incoming)
            setCurrentWidget(d->incoming);
        d->outgoing = nullptr;
        d->incoming = nullptr;
    }

    QWidget *current = currentWidget();
    if (widget == current || !current)
        return;

    d->outgoing = current;
    d->incoming = widget;
    d->direction = indexOf(current) > indexOf(widget) ? -1 : 1;

    const int w = host->width();
    const int h = host->height();
    const QEasingCurve easing(d->animationType);
    const int duration = static_cast<int>(d->animationDuration);

    d->outAnimation->setTargetObject(current);
    d->outAnimation->setStartValue(QPoint(0, 0));
    d->outAnimation->setEndValue(QPoint(-w * d->direction, 0));
    d->outAnimation->setEasingCurve(easing);
    d->outAnimation->setDuration(duration);

    d->inAnimation->setTargetObject(widget);
    d->inAnimation->setStartValue(QPoint(w * d->direction, 0));
    d->inAnimation->setEndValue(QPoint(0, 0));
    d->inAnimation->setEasingCurve(easing);
    d->inAnimation->setDuration(duration);

    d->group->start();

    widget->raise();
    widget->show();
    // Outside the parent until the in-animation's first step places it.
    widget->setGeometry(w, 0, w, h);
}
