#include "qtmaterialsystembar.h"
#include "qtmaterialstyle.h"
#include "qtmaterialsystembarprivate.h"

#include <QBasicTimer>
#include <QDateTime>
#include <QEvent>
#include <QPainter>
#include <QTimerEvent>

QtMaterialSystemBar::QtMaterialSystemBar(QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialSystemBarPrivate(this))
{
    d_func()->init();
}

QtMaterialSystemBar::~QtMaterialSystemBar()
{
    Q_D(QtMaterialSystemBar);
    if (d->timer->isActive())
        d->timer->stop();
    delete d->timer;
    d->timer = nullptr;
}

void QtMaterialSystemBar::setDateTimeFormat(const QString &format)
{
    Q_D(QtMaterialSystemBar);
    d->dateTimeFormat = format;
    update();
}

QString QtMaterialSystemBar::dateTimeFormat() const
{
    Q_D(const QtMaterialSystemBar);
    return d->dateTimeFormat;
}

void QtMaterialSystemBar::setUseThemeColors(bool value)
{
    Q_D(QtMaterialSystemBar);
    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialSystemBar::useThemeColors() const
{
    Q_D(const QtMaterialSystemBar);
    return d->useThemeColors;
}

void QtMaterialSystemBar::setTextColor(const QColor &color)
{
    Q_D(QtMaterialSystemBar);
    d->textColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialSystemBar::textColor() const
{
    Q_D(const QtMaterialSystemBar);
    if (!d->useThemeColors && d->textColor.isValid())
        return d->textColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryLightColor);
}

void QtMaterialSystemBar::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialSystemBar);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialSystemBar::backgroundColor() const
{
    Q_D(const QtMaterialSystemBar);
    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryDarkColor);
}

QSize QtMaterialSystemBar::sizeHint() const
{
    return QSize(-1, fontMetrics().height() + 10);
}

bool QtMaterialSystemBar::event(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    return QWidget::event(event);
}

void QtMaterialSystemBar::timerEvent(QTimerEvent *event)
{
    Q_UNUSED(event)
    update();
}

void QtMaterialSystemBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialSystemBar);

    const QString text = QDateTime::currentDateTime().toString(d->dateTimeFormat);

    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(backgroundColor());
    painter.drawRect(rect());
    painter.setPen(textColor());
    painter.drawText(rect(), Qt::AlignCenter, text);
}
