#pragma once

// The dialog in which the operator handles one received message: it shows the
// message and lets the operator set its status and remark. "Ok" writes them with
// the time of handling to the message's row and announces the change on the hub;
// "Cancel" and the close icon leave everything as it was. When the row cannot be
// written the dialog says so and stays open.

#include "shell/mydialog.h"
#include "store/records.h"

class MessageForm;
class QtMaterialFlatButton;

class MessageDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit MessageDlg(QWidget *parent = nullptr);
    ~MessageDlg() override;

    // The record the dialog handles: set before initDlgCtrl(), read back after
    // an accepted exec().
    void setMessageRecord(const messageRecord &record) { m_record = record; }
    messageRecord getMessageRecord() const { return m_record; }

    // Fills the controls from the record.
    void initDlgCtrl();

    MessageForm *form() const { return m_form; }

private slots:
    void pushButtonOk_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    messageRecord m_record;
    MessageForm *m_form = nullptr;
};
