#pragma once

#include "material.h"

#include <QColor>
#include <QProgressBar>
#include <QScopedPointer>

class QtMaterialCircularProgressPrivate;

// A round progress indicator. Indeterminate it spins a dashed circle whose dash
// grows, shrinks and travels in an endless cycle; determinate it draws an arc from
// the top, clockwise, as long as the value's share of the range.
class QtMaterialCircularProgress : public QProgressBar
{
    Q_OBJECT

    Q_PROPERTY(Material::ProgressType progressType WRITE setProgressType READ progressType)
    Q_PROPERTY(qreal lineWidth WRITE setLineWidth READ lineWidth)
    Q_PROPERTY(int size WRITE setSize READ size)
    Q_PROPERTY(QColor color WRITE setColor READ color)

public:
    // Milliseconds of one cycle of the indeterminate animation.
    static constexpr int CycleDuration = 2050;

    explicit QtMaterialCircularProgress(QWidget *parent = nullptr);
    ~QtMaterialCircularProgress() override;

    void setProgressType(Material::ProgressType type);
    Material::ProgressType progressType() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setLineWidth(qreal width);
    qreal lineWidth() const;

    void setSize(int size);
    int size() const;

    void setColor(const QColor &color);
    QColor color() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialCircularProgressPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialCircularProgress)
    Q_DECLARE_PRIVATE(QtMaterialCircularProgress)
};
