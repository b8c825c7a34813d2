#include "borderlessboxstyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QStyleOption>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

BorderlessBoxStyle::BorderlessBoxStyle()
    : QProxyStyle()
{}

void BorderlessBoxStyle::apply(QGroupBox *box)
{
    static QPointer<BorderlessBoxStyle> style;
    if (!style) {
        style = new BorderlessBoxStyle;
        style->setParent(qApp);
    }
    box->setStyle(style);
}

QtMaterialGroupBox *BorderlessBoxStyle::makeBox(QtMaterialCanvas *canvas)
{
    auto *box = new QtMaterialGroupBox(QString(), nullptr);
    apply(box);
    // The canvas paints the background; the box only holds the content.
    box->setAutoFillBackground(false);
    canvas->setWidget(box);
    canvas->setWidgetResizable(true);
    return box;
}

void BorderlessBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                            QPainter *painter, const QWidget *widget) const
{
    if (control == CC_GroupBox)
        return;
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect BorderlessBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                         SubControl subControl, const QWidget *widget) const
{
    if (control == CC_GroupBox) {
        if (subControl == SC_GroupBoxContents || subControl == SC_GroupBoxFrame)
            return option->rect;
        return QRect();
    }
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}
