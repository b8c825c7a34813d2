#pragma once

// One 40-pixel row showing one stored message (a row of tbl_message_log): receive
// time, place, panel, message, type and status, coloured by type and status. A
// click opens the message dialog; in its owner's delete mode a click only flips
// the row's check box. The row follows every handling announced on the hub.

#include "shell/dynamicwidget.h"
#include "store/records.h"

class MessageItem : public DynamicWidget
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 40;

    explicit MessageItem(messageRecord record, QWidget *parent = nullptr);

    bool isChecked() const { return checked; }
    bool isCheckBoxVisible() const { return checkBoxVisible; }
    messageRecord getMessageRecord() const { return m_record; }
    void setMessageRecord(messageRecord record);

    // The text colour for a message type and status.
    static QColor textColor(int messageType, int messageStatus);

public slots:
    void slotsUpdateMessage(messageRecord _messageRecord);
    void slotsPressed();
    void slotsMessageChecked(bool checked);
    void slotsMessageVisible(bool visible);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    messageRecord m_record;
    bool checked = false;
    bool checkBoxVisible = false;
};
