#include "qtmaterialdrawerwidget.h"
#include "qtmaterialstyle.h"

#include <QLinearGradient>
#include <QPainter>

QtMaterialDrawerWidget::QtMaterialDrawerWidget(QWidget *parent)
    : QtMaterialOverlayWidget(parent)
{
}

QtMaterialDrawerWidget::~QtMaterialDrawerWidget() = default;

void QtMaterialDrawerWidget::setOffset(int offset)
{
    m_offset = offset;
    if (QWidget *p = parentWidget())
        setGeometry(offset, 0, width(), p->height());
    update();
}

void QtMaterialDrawerWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    const int w = width();
    const int h = height();
    painter.fillRect(QRect(0, 0, w - ShadowWidth, h),
                     QtMaterialStyle::instance().themeColor(Material::CanvasColor));

    QLinearGradient gradient(QPointF(w - ShadowWidth, 0), QPointF(w, 0));
    gradient.setColorAt(0, QColor(0, 0, 0, 80));
    gradient.setColorAt(0.5, QColor(0, 0, 0, 20));
    gradient.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setBrush(gradient);
    painter.drawRect(QRect(QPoint(w - ShadowWidth, 0), QPoint(w - 1, h - 1)));
}

QRect QtMaterialDrawerWidget::overlayGeometry() const
{
    return QtMaterialOverlayWidget::overlayGeometry().translated(m_offset, 0);
}
