#pragma once

// The "Occupation" tab of the room editor: the room's occupation sensor as three
// numbers (subnet, device, channel). Whatever the fields hold is written when the
// room editor is left (the editor calls save()): a complete address stores the
// room's one row, an incomplete one removes it. The "Master" tab is its twin over
// tbl_master.

#include "shell/mydialog.h"

class QtMaterialLineEdit;

class PageSettingRoomManagerOccupation : public MyDialog
{
    Q_OBJECT
public:
    explicit PageSettingRoomManagerOccupation(QWidget *parent = nullptr);

    void initDlgCtrl(int room_id);
    // Writes what the fields hold for the room last loaded; false, said, when it
    // could not (nothing to write answers true).
    bool save();
    int roomId() const { return room_id; }
    // 0 subnet, 1 device, 2 channel.
    QtMaterialLineEdit *field(int index) const { return lineEdit[index]; }

public slots:
    void textChanged(const QString &text);

protected:
    // table: tbl_occupation or tbl_master; channel: the channel a room without a
    // row starts with; note: the text below the fields (may be empty).
    PageSettingRoomManagerOccupation(const QString &table, const QString &channel, const QString &note,
                                     QWidget *parent);

private:
    bool isMaster() const;

    QString m_table;
    QString m_channel;
    int room_id = 0;
    // Whether the room's row was read when the tab was filled; when not, leaving stores nothing.
    bool m_rowRead = false;
    QtMaterialLineEdit *lineEdit[3] = {};
};
