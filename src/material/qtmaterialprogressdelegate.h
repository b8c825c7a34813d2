#pragma once

#include <QObject>

class QtMaterialProgress;

// Carries the animated position of a progress bar's indeterminate block, from 0 to 1.
class QtMaterialProgressDelegate : public QObject
{
    Q_OBJECT

    Q_PROPERTY(qreal offset WRITE setOffset READ offset)

public:
    explicit QtMaterialProgressDelegate(QtMaterialProgress *parent);
    ~QtMaterialProgressDelegate() override;

    void setOffset(qreal offset);
    qreal offset() const { return m_offset; }

private:
    Q_DISABLE_COPY(QtMaterialProgressDelegate)

    QtMaterialProgress *const m_progress;
    qreal m_offset = 0;
};
