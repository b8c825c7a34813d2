#pragma once

// The pressable tile: one colour as a rounded rectangle (or a circle) that turns
// #557FA3 while the left button is held on it and emits signalsPressed() when the
// button is released over it.

#include <QColor>
#include <QWidget>

class DynamicWidget : public QWidget
{
    Q_OBJECT
public:
    explicit DynamicWidget(const QColor &color, QWidget *parent = nullptr);

    void drawEllipse(bool ellipse);
    QColor getCurrentColor() const { return currentColor; }
    bool isPressed() const { return pressed; }

    static QColor pressedColor() { return QColor(85, 127, 163); }

signals:
    void signalsPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool inside(const QPoint &pos) const;

    bool pressed = false;
    QColor normalColor;
    QColor currentColor;
    bool ellipse = false;
};
