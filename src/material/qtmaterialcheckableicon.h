#pragma once

#include <QColor>
#include <QIcon>
#include <QWidget>

class QtMaterialCheckable;

// One picture of a checkable's indicator (checked or unchecked), tinted in its
// colour, scaled to its size and faded by its opacity. It covers the whole
// checkable and lets the mouse through.
class QtMaterialCheckableIcon : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(qreal iconSize READ iconSize WRITE setIconSize)
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)

public:
    QtMaterialCheckableIcon(const QIcon &icon, QtMaterialCheckable *parent);
    ~QtMaterialCheckableIcon() override;

    QSize sizeHint() const override;

    void setIcon(const QIcon &icon);
    QIcon icon() const { return m_icon; }

    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    void setIconSize(qreal size);
    qreal iconSize() const { return m_iconSize; }

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialCheckableIcon)

    QtMaterialCheckable *const m_checkable;
    QColor m_color;
    QIcon m_icon;
    qreal m_iconSize;
    qreal m_opacity;
};
