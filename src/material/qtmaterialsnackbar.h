#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QColor>
#include <QScopedPointer>

class QtMaterialSnackbarPrivate;

// Shows short messages one at a time, in order of arrival, in a dark rounded box
// that slides into view over the parent, stays a moment and slides away. It lets
// the mouse through to the page beneath.
class QtMaterialSnackbar : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(bool clickToDismissMode WRITE setClickToDismissMode READ clickToDismissMode)
    Q_PROPERTY(int autoHideDuration WRITE setAutoHideDuration READ autoHideDuration)
    Q_PROPERTY(int boxWidth WRITE setBoxWidth READ boxWidth)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)
    Q_PROPERTY(qreal backgroundOpacity WRITE setBackgroundOpacity READ backgroundOpacity)
    Q_PROPERTY(QColor textColor WRITE setTextColor READ textColor)

public:
    explicit QtMaterialSnackbar(QWidget *parent = nullptr);
    ~QtMaterialSnackbar() override;

    void setAutoHideDuration(int duration);
    int autoHideDuration() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    void setBackgroundOpacity(qreal opacity);
    qreal backgroundOpacity() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void setFontSize(qreal size);
    qreal fontSize() const;

    void setBoxWidth(int width);
    int boxWidth() const;

    void setClickToDismissMode(bool value);
    bool clickToDismissMode() const;

    void setCenter(bool value);

    // The queue: the first message is the one on screen (or about to be).
    QStringList messages() const;

public slots:
    void addMessage(const QString &message);
    void addInstantMessage(const QString &message);
    void dequeue();

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialSnackbarPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialSnackbar)
    Q_DECLARE_PRIVATE(QtMaterialSnackbar)
};
