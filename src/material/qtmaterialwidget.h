#pragma once

#include <QColor>
#include <QScopedPointer>
#include <QWidget>

class QtMaterialWidgetPrivate;

// A plain widget that fills itself with a theme colour (the canvas by default).
class QtMaterialWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QtMaterialWidget(QWidget *parent = nullptr);
    ~QtMaterialWidget() override;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialWidgetPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialWidget)
    Q_DECLARE_PRIVATE(QtMaterialWidget)
};
