#pragma once

// The tile of one mood on the operation side: the mood's picture, 500 x 320, with
// its name over it. A mouse-button press (any button; the second press of a
// double click arrives as a double click and does not count) runs the mood: its
// stored device states and DIY commands, read at that moment, go out on the bus
// one after another 50 ms apart, then "Send successfully" is shown. When they
// cannot all be read, nothing is sent and the failure is shown. The tile only
// sends; it neither polls nor listens to the bus.

#include "moods/mood.h"

#include <QWidget>

class MoodItem : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 500;
    static constexpr int TileHeight = 320;

    explicit MoodItem(mood m, QWidget *parent = nullptr);

    const mood &getMood() const { return record; }
    // The picture file the tile draws; empty when there is none.
    QString picturePath() const;
    // Queues one run of the mood.
    void run();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const mood record;
};
