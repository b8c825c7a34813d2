#include "qtmaterialscrollbar.h"
#include "qtmaterialscrollbarprivate.h"
#include "qtmaterialscrollbarstatemachine.h"
#include "qtmaterialstatetransitionevent.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kCanvasColor(0x26, 0x34, 0x40);
const QColor kTrackColor(0x3D, 0x53, 0x66);
const QColor kHandleColor(0x26, 0x34, 0x40);

} // namespace

QtMaterialScrollBar::QtMaterialScrollBar(QWidget *parent)
    : QScrollBar(parent), d_ptr(new QtMaterialScrollBarPrivate(this))
{
    d_func()->init();
}

QtMaterialScrollBar::QtMaterialScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent), d_ptr(new QtMaterialScrollBarPrivate(this))
{
    d_func()->init();
}

QtMaterialScrollBar::~QtMaterialScrollBar()
{
    Q_D(QtMaterialScrollBar);

    // The machine filters this bar's events and repaints it; it goes before the
    // bar is torn down.
    delete d->stateMachine;
    d->stateMachine = nullptr;
}

QSize QtMaterialScrollBar::sizeHint() const
{
    return orientation() == Qt::Horizontal ? QSize(1, 10) : QSize(10, 1);
}

void QtMaterialScrollBar::setUseThemeColors(bool value)
{
    Q_D(QtMaterialScrollBar);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialScrollBar::useThemeColors() const
{
    Q_D(const QtMaterialScrollBar);
    return d->useThemeColors;
}

void QtMaterialScrollBar::setCanvasColor(const QColor &color)
{
    Q_D(QtMaterialScrollBar);
    d->canvasColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialScrollBar::canvasColor() const
{
    Q_D(const QtMaterialScrollBar);

    if (!d->useThemeColors && d->canvasColor.isValid())
        return d->canvasColor;
    return kCanvasColor;
}

void QtMaterialScrollBar::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialScrollBar);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialScrollBar::backgroundColor() const
{
    Q_D(const QtMaterialScrollBar);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return kTrackColor;
}

void QtMaterialScrollBar::setSliderColor(const QColor &color)
{
    Q_D(QtMaterialScrollBar);
    d->sliderColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialScrollBar::sliderColor() const
{
    Q_D(const QtMaterialScrollBar);

    if (!d->useThemeColors && d->sliderColor.isValid())
        return d->sliderColor;
    return kHandleColor;
}

void QtMaterialScrollBar::setHideOnMouseOut(bool value)
{
    Q_D(QtMaterialScrollBar);
    d->hideOnMouseOut = value;
    update();
}

bool QtMaterialScrollBar::hideOnMouseOut() const
{
    Q_D(const QtMaterialScrollBar);
    return d->hideOnMouseOut;
}

QRect QtMaterialScrollBar::handleRect() const
{
    // Pixels per unit of the range; an empty range (with a page step of one or
    // less) has no handle at all.
    const qreal units = qreal(maximum()) - minimum() + pageStep() - 1;
    if (units <= 0)
        return QRect();

    const bool horizontal = orientation() == Qt::Horizontal;
    const qreal q = (horizontal ? width() : height()) / units;
    const int offset = int(std::trunc(sliderPosition() * q));
    const int length = int(std::trunc(pageStep() * q));
    if (horizontal)
        return QRect(offset, 0, length, height());
    return QRect(0, offset, width(), length);
}

void QtMaterialScrollBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialScrollBar);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), canvasColor());

    QBrush brush;
    brush.setStyle(Qt::SolidPattern);
    brush.setColor(backgroundColor());
    painter.setBrush(brush);
    painter.setPen(Qt::NoPen);

    if (d->hideOnMouseOut)
        painter.setOpacity(d->stateMachine->opacity());

    const QRect track = rect().adjusted(2, 2, -2, -2);
    QPainterPath path;
    path.addRoundedRect(track, 3, 3);
    painter.setClipPath(path, Qt::IntersectClip);
    painter.drawRect(track);

    const QRect handle = handleRect();
    if (handle.isEmpty())
        return;

    brush.setColor(sliderColor());
    painter.setBrush(brush);
    painter.drawRoundedRect(handle, 9, 9);
}

void QtMaterialScrollBar::sliderChange(QAbstractSlider::SliderChange change)
{
    Q_D(QtMaterialScrollBar);

    if (change == QAbstractSlider::SliderValueChange && d->stateMachine)
        d->stateMachine->postEvent(new QtMaterialStateTransitionEvent(KindScrollBarValueChanged));
    QScrollBar::sliderChange(change);
}
