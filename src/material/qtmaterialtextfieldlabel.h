#pragma once

#include <QColor>
#include <QPointF>
#include <QWidget>

class QtMaterialTextField;

// The floating label of a text field. It covers the whole field and draws the label
// text at its offset, scaled by its scale.
class QtMaterialTextFieldLabel : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(qreal scale WRITE setScale READ scale)
    Q_PROPERTY(QPointF offset WRITE setOffset READ offset)
    Q_PROPERTY(QColor color WRITE setColor READ color)

public:
    explicit QtMaterialTextFieldLabel(QtMaterialTextField *parent);
    ~QtMaterialTextFieldLabel() override;

    void setScale(qreal scale);
    qreal scale() const { return m_scale; }

    void setOffset(const QPointF &offset);
    QPointF offset() const { return m_offset; }

    void setColor(const QColor &color);
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialTextFieldLabel)

    QtMaterialTextField *const m_textField;
    QColor m_color;
    qreal m_scale = 1.0;
    QPointF m_offset{0, 26};
};
