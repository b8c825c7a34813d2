#include "qtmaterialtextfieldlabel.h"
#include "qtmaterialtextfield.h"

#include <QPainter>

QtMaterialTextFieldLabel::QtMaterialTextFieldLabel(QtMaterialTextField *parent)
    : QWidget(parent), m_textField(parent), m_color(parent->labelColor())
{
    QFont font(QStringLiteral("Roboto"), static_cast<int>(2 * parent->labelFontSize()), 57, false);
    font.setLetterSpacing(QFont::PercentageSpacing, 102);
    setFont(font);
}

QtMaterialTextFieldLabel::~QtMaterialTextFieldLabel() = default;

void QtMaterialTextFieldLabel::setScale(qreal scale)
{
    m_scale = scale;
    update();
}

void QtMaterialTextFieldLabel::setOffset(const QPointF &offset)
{
    m_offset = offset;
    update();
}

void QtMaterialTextFieldLabel::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void QtMaterialTextFieldLabel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    if (!m_textField->labelVisible())
        return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(m_scale, m_scale);
    painter.setPen(m_color);
    painter.setOpacity(1);
    painter.drawText(QPointF(2 + m_offset.x(), height() - 36 + m_offset.y()),
                     m_textField->labelText());
}
