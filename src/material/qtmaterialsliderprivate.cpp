#include "qtmaterialsliderprivate.h"
#include "qtmaterialslider.h"
#include "qtmaterialsliderstatemachine.h"
#include "qtmaterialsliderthumb.h"
#include "qtmaterialslidertrack.h"
#include "qtmaterialstatetransitionevent.h"
#include "qtmaterialstyle.h"

#include <QCoreApplication>
#include <QStyle>

QtMaterialSliderPrivate::QtMaterialSliderPrivate(QtMaterialSlider *q)
    : q_ptr(q)
{
}

QtMaterialSliderPrivate::~QtMaterialSliderPrivate() = default;

void QtMaterialSliderPrivate::init()
{
    Q_Q(QtMaterialSlider);

    // Made first: the style holds the theme whose colours the thumb and track read.
    // Its creation tells no widget of a style change; a later change of theme does.
    QtMaterialStyle::instance();

    thumb = new QtMaterialSliderThumb(q);
    track = new QtMaterialSliderTrack(thumb, q);
    // The knob lies over the line.
    track->stackUnder(thumb);
    stateMachine = new QtMaterialSliderStateMachine(q, thumb, track);
    stepTo = 0;
    oldValue = q->value();
    trackWidth = 2;
    hoverTrack = false;
    hoverThumb = false;
    hover = false;
    step = false;
    pageStepMode = true;
    useThemeColors = true;

    q->setMouseTracking(true);
    q->setFocusPolicy(Qt::StrongFocus);
    q->setPageStep(1);

    QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (q->orientation() == Qt::Vertical)
        sp.transpose();
    q->setSizePolicy(sp);
    q->setAttribute(Qt::WA_WState_OwnSizePolicy, false);

    stateMachine->start();
    // Enter the initial states now, so that the slider is ready as soon as it is
    // built. Only the machine's own start-up call is delivered here; no other
    // pending event runs inside a constructor.
    QCoreApplication::sendPostedEvents(stateMachine, QEvent::MetaCall);
}

int QtMaterialSliderPrivate::usableLength() const
{
    Q_Q(const QtMaterialSlider);
    const int length = q->orientation() == Qt::Horizontal ? q->width() : q->height();
    return length - 2 * Margin;
}

QRectF QtMaterialSliderPrivate::trackBoundingRect() const
{
    Q_Q(const QtMaterialSlider);

    const int hw = trackWidth / 2;
    if (q->orientation() == Qt::Horizontal)
        return QRectF(Margin, q->height() / 2 - hw, q->width() - 2 * Margin, hw * 2);
    return QRectF(q->width() / 2 - hw, Margin, hw * 2, q->height() - 2 * Margin);
}

QRectF QtMaterialSliderPrivate::thumbBoundingRect() const
{
    Q_Q(const QtMaterialSlider);

    const int offset = thumb ? thumb->offset() : 0;
    const int half = ThumbBox / 2;
    if (q->orientation() == Qt::Horizontal)
        return QRectF(offset, q->height() / 2 - half, ThumbBox, ThumbBox);
    return QRectF(q->width() / 2 - half, offset, ThumbBox, ThumbBox);
}

QRectF QtMaterialSliderPrivate::thumbHitRect() const
{
    const QRectF box = thumbBoundingRect();
    const QPointF center(box.x() + ThumbBox / 2, box.y() + ThumbBox / 2);
    return QRectF(center.x() - ThumbHit / 2, center.y() - ThumbHit / 2, ThumbHit, ThumbHit);
}

int QtMaterialSliderPrivate::valueFromPosition(const QPoint &pos) const
{
    Q_Q(const QtMaterialSlider);

    const int position = q->orientation() == Qt::Horizontal ? pos.x() : pos.y();
    return QStyle::sliderValueFromPosition(q->minimum(), q->maximum(), position - Margin,
                                           usableLength(), q->invertedAppearance());
}

void QtMaterialSliderPrivate::setHovered(bool status)
{
    Q_Q(QtMaterialSlider);

    if (hover == status)
        return;
    hover = status;

    if (!q->hasFocus() && stateMachine && stateMachine->isRunning()) {
        stateMachine->postEvent(new QtMaterialStateTransitionEvent(
            status ? KindSliderHoverEnter : KindSliderHoverLeave));
    }
    q->update();
}

void QtMaterialSliderPrivate::followSlider(QWidget *companion, QtMaterialSlider *slider, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        companion->setParent(slider->parentWidget());
        break;
    case QEvent::Show:
        // Moving to another parent hides the companion; it shows with the slider.
        if (companion->isHidden() && companion->parentWidget())
            companion->show();
        companion->update();
        break;
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::EnabledChange:
        companion->update();
        break;
    default:
        break;
    }
}
