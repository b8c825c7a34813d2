#pragma once

#include <QColor>
#include <QScopedPointer>
#include <QScrollArea>

class QtMaterialCanvasPrivate;

// The scrolling background of the pages: a frameless scroll area that scrolls
// along one axis, kinetically when dragged, and fills its viewport with one flat
// colour.
class QtMaterialCanvas : public QScrollArea
{
    Q_OBJECT

    Q_PROPERTY(Qt::Orientation orientation WRITE setOrientation READ orientation)

public:
    explicit QtMaterialCanvas(QWidget *parent = nullptr);
    QtMaterialCanvas(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~QtMaterialCanvas() override;

    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialCanvasPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialCanvas)
    Q_DECLARE_PRIVATE(QtMaterialCanvas)
};
