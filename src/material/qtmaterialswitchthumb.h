#pragma once

#include <QColor>
#include <QWidget>

class QtMaterialSwitch;

// The round knob of a switch. Its shift runs from 0 (off) to 1 (on) and moves it
// along the switch's long axis.
class QtMaterialSwitchThumb : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(qreal shift WRITE setShift READ shift)
    Q_PROPERTY(QColor thumbColor WRITE setThumbColor READ thumbColor)

public:
    explicit QtMaterialSwitchThumb(QtMaterialSwitch *parent);
    ~QtMaterialSwitchThumb() override;

    void setShift(qreal shift);
    qreal shift() const { return m_shift; }

    // The shift in pixels along the long axis.
    qreal offset() const { return m_offset; }

    void setThumbColor(const QColor &color);
    QColor thumbColor() const { return m_thumbColor; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialSwitchThumb)

    void updateOffset();

    QtMaterialSwitch *const m_switch;
    QColor m_thumbColor;
    qreal m_shift = 0;
    qreal m_offset = 0;
};
