#pragma once

// Makes rooms from a room template: places them in a region and a floor given by
// name (made when missing), gives each the template's picture (its own file of a
// user picture) and copies of the template's lights and panels with their bus
// addresses left at 0. Everything of one add is written in one transaction: when
// a statement fails nothing is left behind, not even a picture file. A read that
// fails (the template's devices, the names, the ids taken) fails the add as well.
//
// Each room's own picture file is a hard link to the template's file where the file
// system allows one (no bytes, no time), else a copy of its bytes. The files are
// made by workers before the transaction begins, the window and the bus going on
// meanwhile, and each is renamed into place as its room's row is written, so every
// file a committed row names is whole at the commit. Every writer of a picture
// replaces the file (QSaveFile) and never writes into it, so a file shared by links
// changes for no other room.

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

    // Adds one room per name. Answers whether every row was written; false too when
    // the pictures' wait was cut short (the exit) or the project changed meanwhile.
    // The event loop runs while the pictures are made: the caller keeps its own
    // controls from starting a second add.
    bool add(const QString &region, const QString &floor, const QStringList &names);

    // The ids of the rooms made by the last add, in order.
    const QList<int> &addedRooms() const { return m_rooms; }
    // Whether a room of the last add kept the template's picture name because its
    // own copy of the template's picture could not be written.
    bool pictureFallback() const { return m_pictureFallback; }

    // Tests only: the call that makes a hard link, link(2) unless set. Runs in a
    // worker; one that fails makes that room's picture a copy.
    using LinkCall = int (*)(const char *from, const char *to);
    static void setLinkCall(LinkCall call);

private:
    struct TemplateLight
    {
        int type;
        QString remark;
        QString icon;
    };

    // The add's transaction, once the pictures are staged.
    bool addRows(const QString &region, const QString &floor, const QStringList &names);
    bool writeRows(const QString &region, const QString &floor, const QStringList &names,
                   QStringList &pictures);
    bool addRoom(const QString &name, int floorId, int regionId, QStringList &pictures);
    // The room's picture name: its own file, put in place now from those staged, or,
    // where there is none, the template's picture name.
    QString roomPicture(int roomId, QStringList &pictures);
    // Has count files of the template's picture made beside the project's pictures
    // (m_staged, one per room, empty where none could be made), waiting for them
    // with the event loop running. False when the add must fail.
    bool stagePictures(int count);
    void removeStaged();

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
    bool m_staging = false; // the rooms are to get files of their own
    QString m_folder;       // the project's folder they go to
    QStringList m_staged;
    int m_nextStaged = 0;
    bool m_adding = false;
};
