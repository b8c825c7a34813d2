#pragma once

// What the three icon placement canvases of the "3D View Setting" page share
// (lights, air conditioners, floor heating): the room's picture and name, one
// round icon per device at its stored position, and dragging with the left
// button. The icon's box is centred on the pointer and kept on the canvas; the
// release stores the box's top-left corner, in canvas pixels, for the overlays
// of the room's 3-D page to read.

#include "shell/mydialog.h"

#include <QList>
#include <QPoint>
#include <QString>

#include <cstdint>

// One device on a canvas.
struct positionRecord
{
    bool pressed = false;
    int32_t id = 0; // light_id, or air_conditioner_no
    int32_t room_id = 0;
    int32_t xp1 = 0;
    int32_t yp1 = 0;
    char icon_name_of_light_on[64] = {}; // lights only: the "on" picture
    char remark[128] = {};               // the device's name, UTF-8, NUL-terminated
};

class PlacementCanvas : public MyDialog
{
    Q_OBJECT
public:
    ~PlacementCanvas() override;

    // Loads the room's picture name, room name and devices, storing the positions
    // that are missing, then repaints. A list that could not be read whole, or
    // whose missing positions could not be stored, is said, stores nothing and
    // shows no device; false then.
    bool updatelist(int room_id);
    // Stores the picture name and repaints.
    void setIconName(const QString &name);

    QString iconName() const { return picture; }
    QString roomName() const { return room; }
    const QList<positionRecord> &records() const { return list; }

    // Where an icon dragged to pointer lands on a canvas of that size: centred on
    // the pointer, never left of or above 0, ending at least one pixel inside the
    // right and bottom edges where the canvas is large enough.
    static QPoint placeIcon(const QPoint &pointer, const QSize &canvas);

protected:
    explicit PlacementCanvas(QWidget *parent);

    // Appends the room's devices of the canvas's kind, in order; false when a row
    // could not be read or a missing position not stored.
    virtual bool loadRecords(int room_id) = 0;
    // The picture drawn inside a device's icon.
    virtual QString devicePicture(const positionRecord &rec) const = 0;
    // Writes a dropped position; false when it was not stored.
    virtual bool storePosition(const positionRecord &rec) = 0;

    void appendRecord(const positionRecord &rec) { list.append(rec); }

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    positionRecord *pressedRecord();

    QString picture;
    QString room;
    QList<positionRecord> list;
    // Where the pressed icon stood: it goes back there when its drop is not stored.
    QPoint pressedFrom;
};
