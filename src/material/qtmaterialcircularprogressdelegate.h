#pragma once

#include <QObject>

class QtMaterialCircularProgress;

// Carries the three animated values of a spinning indicator: the dash's length and
// offset (in pen widths per 50 pixels of size) and the rotation in degrees.
class QtMaterialCircularProgressDelegate : public QObject
{
    Q_OBJECT

    Q_PROPERTY(qreal dashOffset WRITE setDashOffset READ dashOffset)
    Q_PROPERTY(qreal dashLength WRITE setDashLength READ dashLength)
    Q_PROPERTY(int angle WRITE setAngle READ angle)

public:
    explicit QtMaterialCircularProgressDelegate(QtMaterialCircularProgress *parent);
    ~QtMaterialCircularProgressDelegate() override;

    void setDashOffset(qreal offset);
    qreal dashOffset() const { return m_dashOffset; }

    void setDashLength(qreal length);
    qreal dashLength() const { return m_dashLength; }

    void setAngle(int angle);
    int angle() const { return m_angle; }

private:
    Q_DISABLE_COPY(QtMaterialCircularProgressDelegate)

    QtMaterialCircularProgress *const m_progress;
    qreal m_dashOffset = 0;
    qreal m_dashLength = 89;
    int m_angle = 0;
};
