#include "qtmaterialwidget.h"
#include "qtmaterialstyle.h"
#include "qtmaterialwidgetprivate.h"

#include <QPainter>

QtMaterialWidget::QtMaterialWidget(QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialWidgetPrivate(this))
{
    d_func()->init();
}

QtMaterialWidget::~QtMaterialWidget() = default;

void QtMaterialWidget::setUseThemeColors(bool value)
{
    Q_D(QtMaterialWidget);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialWidget::useThemeColors() const
{
    Q_D(const QtMaterialWidget);
    return d->useThemeColors;
}

void QtMaterialWidget::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialWidget);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialWidget::backgroundColor() const
{
    Q_D(const QtMaterialWidget);
    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor());
}
