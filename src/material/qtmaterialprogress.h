#pragma once

#include "material.h"

#include <QColor>
#include <QProgressBar>
#include <QScopedPointer>

class QtMaterialProgressPrivate;

// A thin linear progress bar: a 6-pixel track, filled up to the value when
// determinate, with a block sweeping across it once a second when indeterminate.
class QtMaterialProgress : public QProgressBar
{
    Q_OBJECT

    Q_PROPERTY(Material::ProgressType progressType WRITE setProgressType READ progressType)
    Q_PROPERTY(QColor progressColor WRITE setProgressColor READ progressColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)

public:
    explicit QtMaterialProgress(QWidget *parent = nullptr);
    ~QtMaterialProgress() override;

    void setProgressType(Material::ProgressType type);
    Material::ProgressType progressType() const;

    void setUseThemeColors(bool state);
    bool useThemeColors() const;

    void setProgressColor(const QColor &color);
    QColor progressColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialProgressPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialProgress)
    Q_DECLARE_PRIVATE(QtMaterialProgress)
};
