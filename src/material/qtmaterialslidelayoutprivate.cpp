#include "qtmaterialslidelayoutprivate.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWidget>

QtMaterialSlideLayoutPrivate::QtMaterialSlideLayoutPrivate(QtMaterialSlideLayout *q)
    : q_ptr(q)
{
}

QtMaterialSlideLayoutPrivate::~QtMaterialSlideLayoutPrivate() = default;

void QtMaterialSlideLayoutPrivate::init()
{
    Q_Q(QtMaterialSlideLayout);

    outAnimation = new QPropertyAnimation(q);
    outAnimation->setPropertyName("pos");
    inAnimation = new QPropertyAnimation(q);
    inAnimation->setPropertyName("pos");
    group = new QParallelAnimationGroup(q);
    group->addAnimation(outAnimation);
    group->addAnimation(inAnimation);

    QObject::connect(outAnimation, &QAbstractAnimation::finished, q, [this] { finishSlide(); });

    animationDuration = 700;
    animationType = QEasingCurve::OutBack;
    orientation = Qt::Horizontal;
}

void QtMaterialSlideLayoutPrivate::finishSlide()
{
    Q_Q(QtMaterialSlideLayout);

    if (!outgoing || !incoming)
        return;
    QWidget *in = incoming;
    outgoing->hide();
    outgoing = nullptr;
    incoming = nullptr;
    q->setCurrentWidget(in);
}

bool QtMaterialSlideLayoutPrivate::sliding() const
{
    return group->state() == QAbstractAnimation::Running;
}
