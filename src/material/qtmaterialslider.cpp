#include "qtmaterialslider.h"
#include "qtmaterialsliderprivate.h"
#include "qtmaterialsliderstatemachine.h"
#include "qtmaterialsliderthumb.h"
#include "qtmaterialslidertrack.h"
#include "qtmaterialstatetransitionevent.h"
#include "qtmaterialstyle.h"

#include <QMouseEvent>
#include <QStyle>

namespace {

const QColor DefaultThumbColor(0x21, 0x96, 0xF3);

} // namespace

QtMaterialSlider::QtMaterialSlider(QWidget *parent)
    : QAbstractSlider(parent), d_ptr(new QtMaterialSliderPrivate(this))
{
    d_func()->init();
}

QtMaterialSlider::~QtMaterialSlider()
{
    Q_D(QtMaterialSlider);

    // The machine animates the thumb and the track: it goes first. Then the two
    // companions, which live on the parent and would otherwise outlive the slider
    // they paint.
    delete d->stateMachine;
    d->stateMachine = nullptr;
    delete d->thumb.data();
    delete d->track.data();
}

void QtMaterialSlider::setUseThemeColors(bool value)
{
    Q_D(QtMaterialSlider);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    d->stateMachine->setupProperties();
}

bool QtMaterialSlider::useThemeColors() const
{
    Q_D(const QtMaterialSlider);
    return d->useThemeColors;
}

void QtMaterialSlider::setThumbColor(const QColor &color)
{
    Q_D(QtMaterialSlider);
    d->thumbColor = color;
    d->useThemeColors = false;
    d->stateMachine->setupProperties();
    update();
}

QColor QtMaterialSlider::thumbColor() const
{
    Q_D(const QtMaterialSlider);
    if (!d->useThemeColors && d->thumbColor.isValid())
        return d->thumbColor;
    return DefaultThumbColor;
}

void QtMaterialSlider::setTrackColor(const QColor &color)
{
    Q_D(QtMaterialSlider);
    d->trackColor = color;
    d->useThemeColors = false;
    d->stateMachine->setupProperties();
    update();
}

QColor QtMaterialSlider::trackColor() const
{
    Q_D(const QtMaterialSlider);
    if (!d->useThemeColors && d->trackColor.isValid())
        return d->trackColor;
    return QtMaterialStyle::instance().themeColor(Material::AccentDarkColor);
}

void QtMaterialSlider::setDisabledColor(const QColor &color)
{
    Q_D(QtMaterialSlider);
    d->disabledColor = color;
    d->useThemeColors = false;
    d->stateMachine->setupProperties();
    update();
}

QColor QtMaterialSlider::disabledColor() const
{
    Q_D(const QtMaterialSlider);
    if (!d->useThemeColors && d->disabledColor.isValid())
        return d->disabledColor;
    return QtMaterialStyle::instance().themeColor(Material::DisabledColor);
}

void QtMaterialSlider::setPageStepMode(bool pageStep)
{
    Q_D(QtMaterialSlider);
    d->pageStepMode = pageStep;
}

bool QtMaterialSlider::pageStepMode() const
{
    Q_D(const QtMaterialSlider);
    return d->pageStepMode;
}

QSize QtMaterialSlider::minimumSizeHint() const
{
    return orientation() == Qt::Horizontal ? QSize(130, 34) : QSize(34, 130);
}

void QtMaterialSlider::setInvertedAppearance(bool value)
{
    QAbstractSlider::setInvertedAppearance(value);
    updateThumbOffset();
}

bool QtMaterialSlider::event(QEvent *event)
{
    Q_D(QtMaterialSlider);

    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
        if (d->stateMachine)
            d->stateMachine->setupProperties();
        break;
    case QEvent::ParentChange:
        // The companions have followed to the new parent by now; the ring's fill
        // comes from the parent's palette.
        if (d->thumb && d->track && d->track->parentWidget() == d->thumb->parentWidget())
            d->track->stackUnder(d->thumb);
        if (d->stateMachine)
            d->stateMachine->setupProperties();
        break;
    case QEvent::Resize:
        // The thumb's place depends on the usable length.
        updateThumbOffset();
        break;
    default:
        break;
    }
    return QAbstractSlider::event(event);
}

void QtMaterialSlider::sliderChange(SliderChange change)
{
    Q_D(QtMaterialSlider);

    if (change == SliderValueChange) {
        const bool running = d->stateMachine && d->stateMachine->isRunning();
        if (value() == minimum()) {
            triggerAction(SliderToMinimum);
            if (running)
                d->stateMachine->postEvent(new QtMaterialStateTransitionEvent(KindSliderToMinimum));
        } else if (value() == maximum()) {
            triggerAction(SliderToMaximum);
        }
        if (d->oldValue == minimum() && running)
            d->stateMachine->postEvent(new QtMaterialStateTransitionEvent(KindSliderFromMinimum));
        d->oldValue = value();
    } else if (change == SliderOrientationChange) {
        QSizePolicy sp(QSizePolicy::Expanding, QSizePolicy::Fixed);
        if (orientation() == Qt::Vertical)
            sp.transpose();
        setSizePolicy(sp);
        setAttribute(Qt::WA_WState_OwnSizePolicy, false);
    }

    updateThumbOffset();
    QAbstractSlider::sliderChange(change);
}

void QtMaterialSlider::mouseMoveEvent(QMouseEvent *event)
{
    Q_D(QtMaterialSlider);

    if (isSliderDown()) {
        setSliderPosition(d->valueFromPosition(event->pos()));
    } else {
        const QRectF track = d->trackBoundingRect().adjusted(-2, -2, 2, 2);
        const bool overTrack = track.contains(event->pos());
        const bool overThumb = d->thumbHitRect().contains(event->pos());

        if (overTrack != d->hoverTrack) {
            d->hoverTrack = overTrack;
            update();
        }
        if (overThumb != d->hoverThumb) {
            d->hoverThumb = overThumb;
            update();
        }
        d->setHovered(d->hoverTrack || d->hoverThumb);
    }

    QWidget::mouseMoveEvent(event);
}

void QtMaterialSlider::mousePressEvent(QMouseEvent *event)
{
    Q_D(QtMaterialSlider);

    const QPoint pos = event->pos();

    if (!d->thumbHitRect().contains(pos)) {
        if (d->pageStepMode) {
            d->step = true;
            d->stepTo = d->valueFromPosition(pos);
            const SliderAction action = d->stepTo > sliderPosition() ? SliderPageStepAdd
                                                                     : SliderPageStepSub;
            triggerAction(action);
            setRepeatAction(action, 400, 8);
            return;
        }
        setSliderPosition(d->valueFromPosition(pos));
        d->thumb->setHaloSize(0);
        d->thumb->update();
    }

    setSliderDown(true);
}

void QtMaterialSlider::mouseReleaseEvent(QMouseEvent *event)
{
    Q_D(QtMaterialSlider);

    if (isSliderDown()) {
        setSliderDown(false);
    } else if (d->step) {
        d->step = false;
        setRepeatAction(SliderNoAction, 0, 50);
    }

    QWidget::mouseReleaseEvent(event);
}

void QtMaterialSlider::leaveEvent(QEvent *event)
{
    Q_D(QtMaterialSlider);

    if (d->hoverTrack) {
        d->hoverTrack = false;
        update();
    }
    if (d->hoverThumb) {
        d->hoverThumb = false;
        update();
    }
    d->setHovered(false);

    QWidget::leaveEvent(event);
}

void QtMaterialSlider::updateThumbOffset()
{
    Q_D(QtMaterialSlider);

    if (!d->thumb)
        return;
    const int offset = QStyle::sliderPositionFromValue(minimum(), maximum(), sliderPosition(),
                                                       d->usableLength(), invertedAppearance());
    d->thumb->setOffset(offset);
    if (d->track)
        d->track->update();
}
