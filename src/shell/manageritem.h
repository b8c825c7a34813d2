#pragma once

// The list tile: one object of the project (room, template, 3-D picture, message,
// light, air conditioner, floor heating, mood, panel) or the add-new tile, shown
// by its kind, name and picture. In edit mode it carries a delete button; a room
// tile in view mode also shows the room's open messages of today, one at a time.

#include "shell/dynamicwidget.h"
#include "store/records.h"

#include <QList>
#include <QString>
#include <QTimer>

class QtMaterialIconButton;

// The tile kinds.
enum ManagerItemKind {
    ManagerItemAdd = 0,
    ManagerItemRoomTemplate = 1,
    ManagerItemRoom = 2,
    ManagerItem3DView = 3,
    ManagerItemMessage = 4,
    ManagerItemLight = 5,
    ManagerItemAirConditioner = 6,
    ManagerItemFloorHeat = 7,
    ManagerItemMood = 8,
    ManagerItemPanel = 9
};

class ManagerItem : public DynamicWidget
{
    Q_OBJECT
public:
    // How long each open message stays in the strip.
    static constexpr int RotationMs = 3000;

    ManagerItem(int type, int id, const QString &name, const QString &iconName, bool edit,
                const QColor &color, int width, int height, QWidget *parent = nullptr);
    ~ManagerItem() override;

    // The add tile that ends a list page: kind 0, drawn in #3D5366 without a
    // delete button, made without a parent.
    static ManagerItem *addTile(int width, int height);

    int getType() const { return type; }
    int getId() const { return id; }
    QString getName() const { return name; }
    QString getIconName() const { return iconName; }
    // A new icon name also ends a preview.
    void setIconName(const QString &iconName);
    // A picture file drawn in place of the icon name's picture, until set empty:
    // a picture chosen but not yet stored under the icon name.
    void setPreview(const QString &path);
    QString preview() const { return previewPath; }
    bool isEdit() const { return edit; }

    // The picture file or resource a tile of that kind draws for the icon name;
    // empty when the tile draws none (a user picture whose folder or file is
    // missing, or the add tile, whose picture is fixed).
    static QString picturePath(int type, const QString &iconName);

    // The open messages the tile holds, in rotation order, and the position of
    // the one in the strip (-1: none).
    bool carriesMessages() const;
    const QList<messageRecord> &messageList() const { return messages; }
    int currentIndex() const { return index; }
    bool isRotating() const { return pollTimer.isActive(); }
    int rotationInterval() const { return pollTimer.interval(); }
    // Test hook (clock seam): shortens the rotation; the application never calls it.
    void setRotationInterval(int ms) { pollTimer.setInterval(ms); }

signals:
    void signalsEdit(int type, int id);
    void signalsIconEdit(QString iconName);
    void signalsDelete(int type, int id);

public slots:
    void onPoll();
    void slotsPressed();
    void slotsUpdateMessage(messageRecord _messageRecord);
    void slotsAppendMessage(universalSwitchMessage msg);
    void slotsRemoveMessage(int value, int type);
    void pushButtonDelete_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void loadMessages();
    // read is false when the row failed to read (rather than being gone).
    static bool readMessage(int logId, messageRecord &record, bool &read);
    template <typename Match> bool removeMessages(Match match);
    void settleIndex();
    void paintPicture(QPainter &painter);
    void paintMessageStrip(QPainter &painter);
    void paintTitle(QPainter &painter);

    int type;
    int id;
    QString name;
    QString iconName;
    QString previewPath;
    bool edit;
    int index = -1;
    QList<messageRecord> messages;
    QTimer pollTimer;
};
