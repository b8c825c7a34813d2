#pragma once

// Makes rooms from a room template: places them in a region and a floor given by
// name (made when missing), gives each the template's picture (its own copy of a
// user picture) and copies of the template's lights and panels with their bus
// addresses left at 0. Everything of one add is written in one transaction: when
// a statement fails nothing is left behind, not even a picture file. A read that
// fails (the template's devices, the names, the ids taken) fails the add as well.

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class RoomAdder
{
public:
    explicit RoomAdder(int templateId);

    // Whether the template has a row to make rooms from.
    bool templateExists() const { return m_templateExists; }
    // Whether the template's row could be looked for; when not, add() fails.
    bool templateRead() const { return m_templateRead; }

    // With false each statement is committed on its own, as a measure of what the
    // transaction saves; a failure then leaves what was written before it.
    void setOneTransaction(bool on) { m_oneTransaction = on; }

    // Adds one room per name. Answers whether every row was written.
    bool add(const QString &region, const QString &floor, const QStringList &names);

    // The ids of the rooms made by the last add, in order.
    const QList<int> &addedRooms() const { return m_rooms; }
    // Whether a room of the last add kept the template's picture name because its
    // own copy of the template's picture could not be written.
    bool pictureFallback() const { return m_pictureFallback; }

private:
    struct TemplateLight
    {
        int type;
        QString remark;
        QString icon;
    };

    bool writeRows(const QString &region, const QString &floor, const QStringList &names,
                   QStringList &pictures);
    bool addRoom(const QString &name, int floorId, int regionId, QStringList &pictures);
    QString roomPicture(int roomId, QStringList &pictures);
    // Writes the rooms' copies of the template's picture; a room whose copy cannot be
    // written gets the template's picture name instead. False when that name is refused.
    bool writePictures(QStringList &pictures);
    // The template's picture file, read once per add; empty when it is no picture.
    const QByteArray &templatePicture();

    int m_templateId;
    bool m_templateExists = false;
    bool m_templateRead = false;
    bool m_oneTransaction = true;
    bool m_pictureFallback = false;
    QString m_templateIcon;
    QList<TemplateLight> m_lights;
    QStringList m_panels;
    QSet<int> m_roomIds;
    QSet<int> m_lightIds;
    QSet<int> m_panelIds;
    QList<int> m_rooms;
    QByteArray m_picture;
    bool m_pictureRead = false;
};
