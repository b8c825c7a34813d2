#pragma once

// A hue wheel: the user drags a marker round a ring to pick a colour and presses
// the centre disc, which shows the colour, to confirm it.

#include <QColor>
#include <QRect>
#include <QWidget>

class ColorPickerCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit ColorPickerCtrl(QWidget *parent = nullptr);

    // Ignored while the user drags; otherwise shows color in the centre.
    void setColor(QColor color);
    // Takes the current colour from what the wheel shows at a widget point.
    void getColor(const QPoint &point);

    QColor color() const { return currentColor; }
    double angle() const { return markerAngle; }
    bool isDragging() const { return dragging; }
    QRect outerSquare() const { return outerRect; }
    QRect innerSquare() const { return innerRect; }
    QRect centreSquare() const { return centreRect; }
    // Centre of the marker, in widget coordinates, as last painted.
    QPoint markerCentre() const;

    // The ring's colour in the direction of angle degrees, clockwise on screen
    // from the right: red, yellow, green, cyan, blue, magenta, round to red.
    static QColor ringColor(double angle);

signals:
    void colorChanged(QColor color);
    void colorSelected();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The bounding squares of the ring's circles and of the centre disc.
    void updateSquares();
    double distanceFromCentre(const QPoint &pos) const;
    bool onRing(const QPoint &pos) const;
    bool onCentre(const QPoint &pos) const;
    double angleOf(const QPoint &pos) const;
    void takeAngle(const QPoint &pos);

    double markerAngle = 0.0;
    bool dragging = false;
    bool externalColor = false;
    QColor currentColor = Qt::white;
    QRect outerRect;
    QRect innerRect;
    QRect centreRect;
};
