#include "alarmdlg.h"

#include "bus/broadcastsocket.h"
#include "records/messageform.h"
#include "records/messagelog.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

#include <algorithm>
#include <cstring>

AlarmDlg::AlarmDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("AlarmDlg"));
    setWindowTitle(QStringLiteral("Alarm Message"));
    // A window of its own that must never keep the application running once the
    // main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(800, 600);

    m_form = new MessageForm(48, true, this);

    QtMaterialFlatButton *prev = MessageForm::makeButton(tr("Prev"), "pushButtonPrev", this);
    connect(prev, &QAbstractButton::clicked, this, &AlarmDlg::pushButtonPrev_clicked);
    QtMaterialFlatButton *ok = MessageForm::makeButton(tr("Ok"), "pushButtonOk", this);
    connect(ok, &QAbstractButton::clicked, this, &AlarmDlg::pushButtonOk_clicked);
    QtMaterialFlatButton *next = MessageForm::makeButton(tr("Next"), "pushButtonNext", this);
    connect(next, &QAbstractButton::clicked, this, &AlarmDlg::pushButtonNext_clicked);
    MessageForm::layOutDialog(this, close, tr("Alarm Message"), m_form, {prev, ok, next});

    connect(&gl_socket, &BroadcastSocket::signalsUpdateMessage, this, &AlarmDlg::slotsUpdateMessage);
    connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, this, &AlarmDlg::slotsRemoveMessage);
    // The exit of the application closes this window too.
    connect(&gl_socket, &BroadcastSocket::signalsClosed, this, &QWidget::close);
}

AlarmDlg::~AlarmDlg() = default;

QList<messageRecord> AlarmDlg::heldRecords() const
{
    QList<messageRecord> records;
    for (const Held &held : m_held)
        records.append(held.record);
    return records;
}

void AlarmDlg::append(messageRecord record)
{
    Held held;
    held.record = record;
    m_held.append(held);
    if (m_index < 0) {
        m_index = 0;
        m_current = m_held.first();
        showMessageRecord();
        return;
    }
    // The shown record stays, and so does whatever the operator is typing.
    showPosition();
}

void AlarmDlg::clear()
{
    m_held.clear();
    m_index = -1;
}

void AlarmDlg::showMessageRecord()
{
    m_form->showRecord(m_current.record);
    m_shownStatus = m_form->statusBox()->currentText();
    m_shownRemark = m_form->remarkField()->text();
    showPosition();
}

void AlarmDlg::showPosition()
{
    m_form->positionLabel()->setText(QString::asprintf("%d/%d", m_index + 1, int(m_held.size())));
}

bool AlarmDlg::setMessageRecord()
{
    const QString status = m_form->statusBox()->currentText();
    const QString remark = m_form->remarkField()->text();
    const bool statusEdited = status != m_shownStatus;
    const bool remarkEdited = remark != m_shownRemark;
    // A status that could not be looked up is not taken as another one: the
    // edits stay in the controls, untaken.
    bool read = m_form->statusesRead();
    const int statusNo = statusEdited && read ? MessageLog::statusByName(status, &read) : 0;
    if (!read)
        return false;
    if (statusEdited) {
        m_current.record.message_status = statusNo;
        m_current.statusChanged = true;
        m_shownStatus = status;
    }
    if (remarkEdited) {
        MessageLog::setRemark(m_current.record, remark);
        m_current.remarkChanged = true;
        m_shownRemark = remark;
    }
    if (statusEdited || remarkEdited)
        MessageLog::setDealTime(m_current.record, MessageLog::now());
    return true;
}

void AlarmDlg::writeBack()
{
    if (m_index >= 0 && m_index < m_held.size() && m_held.at(m_index).record.id == m_current.record.id) {
        m_held[m_index] = m_current;
        return;
    }
    for (Held &held : m_held) {
        if (held.record.id == m_current.record.id) {
            held = m_current;
            return;
        }
    }
}

void AlarmDlg::step(int delta)
{
    const int target = m_index + delta;
    if (m_index < 0 || target < 0 || target >= m_held.size()) {
        emit signalsInformation(tr("End!"));
        return;
    }
    if (!setMessageRecord()) {
        emit signalsInformation(tr("The change was not saved"));
        return;
    }
    writeBack();
    m_index = target;
    m_current = m_held.at(m_index);
    showMessageRecord();
}

void AlarmDlg::pushButtonPrev_clicked()
{
    step(-1);
}

void AlarmDlg::pushButtonNext_clicked()
{
    step(1);
}

void AlarmDlg::pushButtonOk_clicked()
{
    if (m_index >= 0) {
        if (!setMessageRecord()) {
            emit signalsInformation(tr("The change was not saved"));
            return;
        }
        writeBack();
    }
    // Every held alarm is handled now. Each is written as its row stands, with
    // only the operator's changes laid over it, so a handling done meanwhile in a
    // message dialog stays. An alarm whose row is gone, its id perhaps given to
    // another message since, is left unwritten. All rows or none: nothing is
    // announced unless every statement went through.
    const QString dealTime = MessageLog::now();
    QList<Held> written = m_held;
    QList<int> handled;
    bool ok = gl_sqlite3db.beginTransaction();
    for (int i = 0; ok && i < written.size(); ++i) {
        Held &held = written[i];
        messageRecord stored;
        // A row that failed to read is not taken as gone: nothing is saved then.
        const bool found = MessageLog::read(held.record.id, stored, &ok);
        if (!found || !MessageLog::sameRow(stored, held.record))
            continue;
        follow(held, stored);
        MessageLog::setDealTime(held.record, dealTime);
        held.statusChanged = false;
        held.remarkChanged = false;
        ok = MessageLog::writeHandling(held.record);
        handled.append(i);
    }
    if (ok) {
        ok = gl_sqlite3db.commitTransaction();
    } else {
        gl_sqlite3db.rollbackTransaction();
    }
    if (!ok) {
        emit signalsInformation(tr("The change was not saved"));
        return;
    }
    m_held = written;
    if (m_index >= 0 && m_index < m_held.size())
        m_current = m_held.at(m_index);
    for (int i : handled) {
        const messageRecord record = m_held.at(i).record;
        emit gl_socket.signalsUpdateMessage(record);
    }
    accept();
}

void AlarmDlg::follow(Held &held, const messageRecord &update)
{
    messageRecord merged = update;
    if (held.statusChanged)
        merged.message_status = held.record.message_status;
    if (held.remarkChanged)
        std::memcpy(merged.message_log_remark, held.record.message_log_remark,
                    sizeof merged.message_log_remark);
    if (held.statusChanged || held.remarkChanged)
        std::memcpy(merged.deal_time, held.record.deal_time, sizeof merged.deal_time);
    held.record = merged;
}

void AlarmDlg::slotsUpdateMessage(messageRecord record)
{
    for (Held &held : m_held) {
        if (MessageLog::sameRow(held.record, record))
            follow(held, record);
    }
    if (m_index < 0 || !MessageLog::sameRow(m_current.record, record))
        return;

    // The shown record: take the new values, and show them in the controls the
    // operator has not touched.
    const bool statusTouched =
        m_current.statusChanged || m_form->statusBox()->currentText() != m_shownStatus;
    const bool remarkTouched = m_current.remarkChanged || m_form->remarkField()->text() != m_shownRemark;
    follow(m_current, record);
    if (!statusTouched && m_form->selectStatus(MessageLog::statusName(m_current.record.message_status)))
        m_shownStatus = m_form->statusBox()->currentText();
    if (!remarkTouched) {
        m_form->remarkField()->setText(QString::fromUtf8(m_current.record.message_log_remark));
        m_shownRemark = m_form->remarkField()->text();
    }
}

void AlarmDlg::slotsRemoveMessage(int value, int type)
{
    auto gone = [value, type](const Held &held) { return MessageLog::removedBy(held.record, value, type); };
    if (m_index < 0 || std::none_of(m_held.cbegin(), m_held.cend(), gone))
        return;
    // What the operator typed for the alarms that stay is kept (or stays in the
    // controls, when its status cannot be looked up now).
    setMessageRecord();
    writeBack();
    // The shown alarm stays shown; in its place comes the next one that stays.
    QList<Held> kept;
    int index = 0;
    for (int i = 0; i < m_held.size(); ++i) {
        if (gone(m_held.at(i)))
            continue;
        if (i < m_index)
            ++index;
        kept.append(m_held.at(i));
    }
    m_held = kept;
    if (m_held.isEmpty()) {
        clear();
        hide();
        return;
    }
    m_index = qMin(index, int(m_held.size()) - 1);
    if (gone(m_current)) {
        m_current = m_held.at(m_index);
        showMessageRecord();
    } else {
        showPosition();
    }
}

void AlarmDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
