#include "messagedlg.h"

#include "bus/broadcastsocket.h"
#include "records/messageform.h"
#include "records/messagelog.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/globals.h"

#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallineedit.h>

MessageDlg::MessageDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("MessageDlg"));
    setWindowTitle(QStringLiteral("Edit Message"));
    setMinimumSize(800, 600);

    m_form = new MessageForm(96, false, this);

    QtMaterialFlatButton *ok = MessageForm::makeButton(tr("Ok"), "pushButtonOk", this);
    connect(ok, &QAbstractButton::clicked, this, &MessageDlg::pushButtonOk_clicked);
    QtMaterialFlatButton *cancel = MessageForm::makeButton(tr("Cancel"), "pushButtonCancel", this);
    connect(cancel, &QAbstractButton::clicked, this, &QWidget::close);
    MessageForm::layOutDialog(this, close, tr("Edit Message"), m_form, {ok, cancel});
}

MessageDlg::~MessageDlg() = default;

void MessageDlg::initDlgCtrl()
{
    m_form->showRecord(m_record);
}

void MessageDlg::pushButtonOk_clicked()
{
    messageRecord record = m_record;
    // A status that could not be looked up, or a record whose stored status could
    // not be shown, is not stored as another status.
    bool read = false;
    record.message_status = MessageLog::statusByName(m_form->statusBox()->currentText(), &read);
    if (!read || !m_form->statusesRead() || !m_form->recordRead()) {
        emit signalsInformation(tr("The change was not saved"));
        return;
    }
    MessageLog::setDealTime(record, MessageLog::now());
    MessageLog::setRemark(record, m_form->remarkField()->text());
    // A row that was not written is not announced: the tiles keep what is stored.
    // Nor is a row that is gone: its id may belong to another message by now.
    bool found = false;
    if (!MessageLog::writeHandling(record, &found) || !found) {
        emit signalsInformation(tr("The change was not saved"));
        return;
    }
    m_record = record;
    emit gl_socket.signalsUpdateMessage(m_record);
    accept();
}

void MessageDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
