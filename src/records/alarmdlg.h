#pragma once

// The alarm dialog: a window of its own that holds the alarms which arrived since
// it was last opened, shows one at a time, lets the operator page through them
// with "Prev" and "Next", set the status and remark of each, and save them all
// with "Ok", each with the time of handling. The operator's changes are laid over
// the row as it stands then, and the held copies follow every handling announced
// on the hub, so a message handled meanwhile in a message dialog is not set back.
// When the rows cannot be read or written, nothing is saved or announced, the
// dialog says so and stays open.
// An alarm whose row is deleted is dropped; without alarms the dialog hides.

#include "shell/mydialog.h"
#include "store/records.h"

#include <QList>

class MessageForm;

class AlarmDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit AlarmDlg(QWidget *parent = nullptr);
    ~AlarmDlg() override;

    // Takes a record into the held list; the first one held is shown.
    void append(messageRecord record);
    // Drops every held record; the controls keep what they show.
    void clear();

    // Read access, for the owner and for tests.
    QList<messageRecord> heldRecords() const;
    int currentIndex() const { return m_index; }
    messageRecord currentRecord() const { return m_current.record; }
    MessageForm *form() const { return m_form; }

private slots:
    void pushButtonPrev_clicked();
    void pushButtonOk_clicked();
    void pushButtonNext_clicked();
    void slotsUpdateMessage(messageRecord record);
    // Drops the held alarms whose rows were deleted (by row id, room, panel or
    // message, as the hub says): a later row may take the same id.
    void slotsRemoveMessage(int value, int type);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // One held alarm and which of its fields the operator has changed.
    struct Held
    {
        messageRecord record;
        bool statusChanged = false;
        bool remarkChanged = false;
    };

    void showMessageRecord();
    // Takes the operator's edits into the current record; false (nothing taken)
    // when the chosen status failed to look up.
    bool setMessageRecord();
    void writeBack();
    void showPosition();
    void step(int delta);
    static void follow(Held &held, const messageRecord &update);

    QList<Held> m_held;
    int m_index = -1;
    Held m_current;
    // What the status box and the remark field showed when the current record
    // was put on screen: the operator's edits are told from them.
    QString m_shownStatus;
    QString m_shownRemark;
    MessageForm *m_form = nullptr;
};
