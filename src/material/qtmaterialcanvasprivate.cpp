#include "qtmaterialcanvasprivate.h"
#include "qtmaterialcanvas.h"
#include "qtmaterialscrollbar.h"

#include <QScroller>
#include <QScrollerProperties>
#include <QTouchDevice>

QtMaterialCanvasPrivate::QtMaterialCanvasPrivate(QtMaterialCanvas *q)
    : q_ptr(q)
{
}

QtMaterialCanvasPrivate::~QtMaterialCanvasPrivate() = default;

void QtMaterialCanvasPrivate::init()
{
    Q_Q(QtMaterialCanvas);

    orientation = Qt::Vertical;
    useThemeColors = true;
    q->setFrameShape(QFrame::NoFrame);

    // Drag to scroll: with the finger where the machine has a touch screen, else
    // with the left mouse button.
    const QScroller::ScrollerGestureType gesture = QTouchDevice::devices().isEmpty()
                                                       ? QScroller::LeftMouseButtonGesture
                                                       : QScroller::TouchGesture;
    QScroller::grabGesture(q->viewport(), gesture);
}

void QtMaterialCanvasPrivate::updateOrientation()
{
    Q_Q(QtMaterialCanvas);

    QScroller *scroller = QScroller::scroller(q->viewport());
    QScrollerProperties properties = scroller->scrollerProperties();

    if (orientation == Qt::Vertical) {
        q->setVerticalScrollBar(new QtMaterialScrollBar(Qt::Vertical, nullptr));
        q->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // A canvas turned back from horizontal would otherwise keep its scrolling
        // axis switched off.
        q->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy,
                                   QScrollerProperties::OvershootAlwaysOn);
        properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy,
                                   QScrollerProperties::OvershootAlwaysOff);
    } else {
        q->setHorizontalScrollBar(new QtMaterialScrollBar(Qt::Horizontal, nullptr));
        q->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        q->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy,
                                   QScrollerProperties::OvershootAlwaysOff);
        properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy,
                                   QScrollerProperties::OvershootAlwaysOn);
    }
    properties.setScrollMetric(QScrollerProperties::OvershootDragResistanceFactor, 0.1);
    properties.setScrollMetric(QScrollerProperties::OvershootDragDistanceFactor, 0.1);
    properties.setScrollMetric(QScrollerProperties::OvershootScrollDistanceFactor, 0.1);

    scroller->setScrollerProperties(properties);
}
