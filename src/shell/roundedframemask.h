#pragma once

// Keeps a window's shape to the rounded panel paintRoundedPanel draws in it: a
// mask that leaves out every corner pixel the panel does not fully cover, set
// again on every resize. Lets a framed dialog stay an opaque window, which an X
// server without a compositing manager shows, its drop-down lists included.

#include <QObject>
#include <QRegion>

class QSize;
class QWidget;

class RoundedFrameMask : public QObject
{
    Q_OBJECT

public:
    // Shapes window now and on each resize; owned by window.
    explicit RoundedFrameMask(QWidget *window);

    // The pixels of a size x size panel that its rounded corners cover fully.
    static QRegion region(const QSize &size);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
