#include "qtmaterialprogress.h"
#include "qtmaterialprogressdelegate.h"
#include "qtmaterialprogressprivate.h"
#include "qtmaterialstyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>

QtMaterialProgress::QtMaterialProgress(QWidget *parent)
    : QProgressBar(parent), d_ptr(new QtMaterialProgressPrivate(this))
{
    d_func()->init();
}

QtMaterialProgress::~QtMaterialProgress()
{
    Q_D(QtMaterialProgress);
    // The endless animation writes to the delegate, which repaints this bar.
    delete d->animation;
    d->animation = nullptr;
}

void QtMaterialProgress::setProgressType(Material::ProgressType type)
{
    Q_D(QtMaterialProgress);
    d->progressType = type;
    update();
}

Material::ProgressType QtMaterialProgress::progressType() const
{
    Q_D(const QtMaterialProgress);
    return d->progressType;
}

void QtMaterialProgress::setUseThemeColors(bool state)
{
    Q_D(QtMaterialProgress);
    if (d->useThemeColors == state)
        return;
    d->useThemeColors = state;
    update();
}

bool QtMaterialProgress::useThemeColors() const
{
    Q_D(const QtMaterialProgress);
    return d->useThemeColors;
}

void QtMaterialProgress::setProgressColor(const QColor &color)
{
    Q_D(QtMaterialProgress);
    d->progressColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialProgress::progressColor() const
{
    Q_D(const QtMaterialProgress);
    if (!d->useThemeColors && d->progressColor.isValid())
        return d->progressColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryColor);
}

void QtMaterialProgress::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialProgress);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialProgress::backgroundColor() const
{
    Q_D(const QtMaterialProgress);
    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::BorderColor);
}

void QtMaterialProgress::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialProgress);

    const int w = width();
    const int h = height();

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? backgroundColor()
                                 : QtMaterialStyle::instance().themeColor(Material::DisabledColor));

    QPainterPath track;
    track.addRoundedRect(0, h / 2 - 3, w, 6, 3, 3);
    painter.setClipPath(track);
    painter.drawRect(rect());

    if (!isEnabled())
        return;

    painter.setBrush(progressColor());
    if (d->progressType == Material::ProgressIndeterminate) {
        const int x = static_cast<int>(2 * d->delegate->offset() * w - w);
        painter.drawRect(x, 0, w, h);
    } else {
        // An empty range has no filled part: only the track shows.
        const qint64 range = qint64(maximum()) - minimum();
        if (range <= 0)
            return;
        // A reset bar holds minimum - 1: nothing is filled then.
        const qint64 done = qMax<qint64>(0, qint64(value()) - minimum());
        painter.drawRect(0, 0, static_cast<int>(done * w / range), h);
    }
}
