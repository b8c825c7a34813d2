#include "qtmaterialoverlaywidget.h"

#include <QEvent>

QtMaterialOverlayWidget::QtMaterialOverlayWidget(QWidget *parent)
    : QWidget(parent)
{
    if (parent)
        parent->installEventFilter(this);
}

QtMaterialOverlayWidget::~QtMaterialOverlayWidget() = default;

bool QtMaterialOverlayWidget::event(QEvent *event)
{
    if (QWidget *p = parentWidget()) {
        switch (event->type()) {
        case QEvent::ParentAboutToChange:
            p->removeEventFilter(this);
            break;
        case QEvent::ParentChange:
            p->installEventFilter(this);
            setGeometry(overlayGeometry());
            break;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

bool QtMaterialOverlayWidget::eventFilter(QObject *obj, QEvent *event)
{
    if (obj == parent()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            setGeometry(overlayGeometry());
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(obj, event);
}

QRect QtMaterialOverlayWidget::overlayGeometry() const
{
    if (const QWidget *p = parentWidget())
        return p->rect();
    return QRect();
}
