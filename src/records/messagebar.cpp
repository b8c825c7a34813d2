#include "messagebar.h"

#include "bus/broadcastsocket.h"
#include "records/messageitem.h"
#include "records/messagelog.h"
#include "shell/roundedpanel.h"
#include "store/globals.h"

#include <QDebug>
#include <QGridLayout>
#include <QScopedValueRollback>
#include <QSet>
#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

MessageBar::MessageBar(QWidget *parent)
    : QWidget(parent)
    , alarmDlg(nullptr)
{
    setObjectName(QStringLiteral("MessageBar"));
    groupBox = new QtMaterialGroupBox(QString(), nullptr);
    groupBox->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    canvas = new QtMaterialCanvas(this);
    canvas->setWidget(groupBox);
    canvas->setWidgetResizable(true);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(canvas);

    setFixedHeight(BarHeight);
    m_showLater.setSingleShot(true);
    m_showLater.setInterval(0);
    connect(&m_showLater, &QTimer::timeout, this, [this]() {
        m_shownThisTurn = 0;
        showWaiting();
    });

    connect(&gl_socket, &BroadcastSocket::signalsAppendMessage, this, &MessageBar::slotsAppendMessage);
    connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, this, &MessageBar::slotsRemoveMessage);
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this,
            &MessageBar::slotsProjectStateChanged);
}

MessageBar::~MessageBar() = default;

QList<MessageItem *> MessageBar::tiles() const
{
    // The grid holds the tiles shown, in the order they were added (tiles on
    // their way out have left it).
    QList<MessageItem *> shown;
    if (!grid)
        return shown;
    for (int i = 0; i < grid->count(); ++i) {
        if (auto *tile = qobject_cast<MessageItem *>(grid->itemAt(i)->widget()))
            shown.append(tile);
    }
    return shown;
}

void MessageBar::slotsAppendMessage(universalSwitchMessage msg)
{
    if (unsigned(msg.message_status) > 1)
        return;
    if (m_waiting.size() >= MaxWaiting) {
        m_waiting.removeFirst();
        sayLost(1);
    }
    // Behind those still waiting, so that the rows show in the order announced.
    m_waiting.append(Waiting{msg, {}});
    m_waiting.last().since.start();
    showWaiting();
}

void MessageBar::sayLost(int count)
{
    if (count <= 0)
        return;
    qWarning() << "message rows never shown, their reads kept failing:" << count;
    emit gl_socket.signalsInformation(tr("%n message(s) could not be read!", nullptr, count));
}

void MessageBar::showWaiting()
{
    // A row that fails to read again holds back only the later announcements of
    // the same row. A long backlog is shown a slice at a time.
    if (m_showing)
        return;
    const QScopedValueRollback<bool> showing(m_showing, true);
    QSet<int> held;
    QElapsedTimer busy;
    busy.start();
    int lost = 0;
    for (int i = 0; i < m_waiting.size();) {
        // A new tile costs more once the window polishes and lays it out: only
        // so many are added before the window has its turn.
        if (busy.elapsed() >= BusyMs || m_shownThisTurn >= TilesPerTurn) {
            m_showLater.start();
            break;
        }
        if (held.contains(m_waiting.at(i).msg.id)) {
            ++i;
            continue;
        }
        const Waiting waiting = m_waiting.takeAt(i);
        if (showRow(waiting.msg)) {
            if (m_shownThisTurn++ == 0)
                m_showLater.start();
            continue;
        }
        if (waiting.since.hasExpired(RetryMs)) {
            ++lost;
            continue;
        }
        m_waiting.insert(i++, waiting);
        held.insert(waiting.msg.id);
    }
    sayLost(lost);
}

bool MessageBar::showRow(const universalSwitchMessage &msg)
{
    messageRecord record;
    bool read = false;
    // A row that is gone shows nothing; one that failed to read waits.
    if (!MessageLog::read(msg.id, record, &read))
        return read;

    bool added = true;
    for (MessageItem *tile : tiles()) {
        if (tile->getMessageRecord().id != msg.id)
            continue;
        if (MessageLog::sameRow(tile->getMessageRecord(), record)) {
            tile->setMessageRecord(record);
            added = false;
        } else {
            // The tile's row is gone and its id was given to this new message.
            removeTile(tile);
        }
        break;
    }
    if (added) {
        addTile(record);
        if (msg.message_type == 1) {
            if (alarmDlg.isVisible()) {
                alarmDlg.append(record);
            } else {
                alarmDlg.clear();
                alarmDlg.append(record);
                alarmDlg.show();
            }
        }
    }
    m_sound.play(msg.message_type);
    return true;
}

void MessageBar::addTile(const messageRecord &record)
{
    if (!grid) {
        grid = new QGridLayout(groupBox);
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setSpacing(20);
    }
    // Rows of removed tiles are not reused: the new tile goes below every tile shown.
    int row = 0;
    for (int i = 0; i < grid->count(); ++i) {
        int r, c, rowSpan, columnSpan;
        grid->getItemPosition(i, &r, &c, &rowSpan, &columnSpan);
        if (qobject_cast<MessageItem *>(grid->itemAt(i)->widget()))
            row = qMax(row, r + 1);
    }
    auto *tile = new MessageItem(record, nullptr);
    grid->addWidget(tile, row, 0);
    for (int r = 0; r < grid->rowCount(); ++r)
        grid->setRowStretch(r, 0);
    grid->setRowStretch(row + 1, 1);
}

void MessageBar::removeTile(MessageItem *tile)
{
    grid->removeWidget(tile);
    tile->hide();
    tile->deleteLater();
}

void MessageBar::slotsRemoveMessage(int value, int type)
{
    for (int i = m_waiting.size() - 1; i >= 0; --i) {
        const universalSwitchMessage &msg = m_waiting.at(i).msg;
        messageRecord record;
        record.id = msg.id;
        record.message_id = msg.message_id;
        record.panel_id = msg.panel_id;
        record.room_id = msg.room_id;
        if (MessageLog::removedBy(record, value, type))
            m_waiting.removeAt(i);
    }
    if (!grid)
        return;
    for (MessageItem *tile : tiles()) {
        if (MessageLog::removedBy(tile->getMessageRecord(), value, type))
            removeTile(tile);
    }
}

void MessageBar::slotsProjectStateChanged(QString projectName)
{
    Q_UNUSED(projectName)
    // The tiles and the held alarms stand for rows of the project that was open
    // before: they go, and nothing is written through them.
    for (MessageItem *tile : tiles())
        removeTile(tile);
    m_waiting.clear();
    alarmDlg.clear();
    alarmDlg.hide();
}

void MessageBar::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this, QColor(0x3D, 0x53, 0x66));
    QWidget::paintEvent(event);
}
