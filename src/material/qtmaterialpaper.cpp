#include "qtmaterialpaper.h"
#include "qtmaterialpaperprivate.h"
#include "qtmaterialstyle.h"

#include <QPainter>

QtMaterialPaper::QtMaterialPaper(QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialPaperPrivate(this))
{
    d_func()->init();
}

QtMaterialPaper::~QtMaterialPaper() = default;

void QtMaterialPaper::setUseThemeColors(bool value)
{
    Q_D(QtMaterialPaper);
    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialPaper::useThemeColors() const
{
    Q_D(const QtMaterialPaper);
    return d->useThemeColors;
}

void QtMaterialPaper::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialPaper);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialPaper::backgroundColor() const
{
    Q_D(const QtMaterialPaper);
    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    // A light canvas gives a slightly darker sheet, a dark one a lighter sheet.
    const QColor canvas = QtMaterialStyle::instance().themeColor(Material::CanvasColor);
    return canvas.black() < 128 ? canvas.darker(120) : canvas.lighter(130);
}

void QtMaterialPaper::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(backgroundColor());
    painter.drawRoundedRect(QRect(0, 0, width(), height()), 5, 5);
}
