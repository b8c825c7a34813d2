#pragma once

#include <QWidget>

// A child widget that keeps itself laid over its parent (or over the part of it
// that overlayGeometry() names) as the parent moves, resizes or changes.
class QtMaterialOverlayWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QtMaterialOverlayWidget(QWidget *parent = nullptr);
    ~QtMaterialOverlayWidget() override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *obj, QEvent *event) override;

    virtual QRect overlayGeometry() const;

private:
    Q_DISABLE_COPY(QtMaterialOverlayWidget)
};
