#include "messagebar.h"

#include "bus/broadcastsocket.h"
#include "records/messageitem.h"
#include "records/messagelog.h"
#include "shell/roundedpanel.h"
#include "shell/lossnotice.h"
#include "store/globals.h"

#include <QDebug>
#include <QGridLayout>
#include <QScopedValueRollback>
#include <QThread>
#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

MessageBar::MessageBar(QWidget *parent)
    : QWidget(parent)
    , alarmDlg(nullptr)
    , m_clock([]() {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        return clock.elapsed() / 1000;
    })
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
        m_spentNs = 0;
        m_shownThisTurn = 0;
        showDue(nullptr);
    });

    connect(&gl_socket, &BroadcastSocket::signalsAppendMessage, this, &MessageBar::slotsAppendMessage);
    connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, this, &MessageBar::slotsRemoveMessage);
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this,
            &MessageBar::slotsProjectStateChanged);
}

MessageBar::~MessageBar() = default;

QList<MessageItem *> MessageBar::tiles() const
{
    // In the order they were added: each went below every tile shown then.
    return m_rows.values();
}

void MessageBar::slotsAppendMessage(universalSwitchMessage msg)
{
    if (unsigned(msg.message_status) > 1)
        return;
    // Behind the announcements of the same row still waiting, so that they show
    // in the order announced; a row with none waiting shows at once.
    const bool behind = m_waiting.holds(msg.id);
    sayLost(m_waiting.append(msg.id, Waiting{msg, m_clock()}));
    if (!behind)
        showDue(&msg.id);
}

void MessageBar::sayLost(int count)
{
    if (count <= 0)
        return;
    qWarning() << "message rows never shown, their reads kept failing:" << count;
    LossNotice::add("MessageBar", QT_TRANSLATE_NOOP("MessageBar", "%n message(s) could not be read!"), count);
}

void MessageBar::showWaiting()
{
    m_waiting.promote(m_clock());
    showDue(nullptr);
}

bool MessageBar::turnLeft() const
{
    // Only a running event loop has a turn to hand back; a caller outside any
    // gets every tile at once.
    return (m_spentNs < BusyMs * 1000000 && m_shownThisTurn < TilesPerTurn) ||
           QThread::currentThread()->loopLevel() == 0;
}

void MessageBar::showDue(const int *only)
{
    // A tile's receivers may run an event loop: what arrives meanwhile waits for
    // the next turn.
    if (m_showing) {
        m_showLater.start();
        return;
    }
    const QScopedValueRollback<bool> showing(m_showing, true);
    const qint64 now = m_clock();
    int lost = 0;
    int id = 0;
    while (only ? m_waiting.isDue(id = *only) : m_waiting.nextDue(id)) {
        // A new tile costs more once the window polishes and lays it out: only
        // so many are added before the window has its turn.
        if (!turnLeft()) {
            m_showLater.start();
            break;
        }
        const universalSwitchMessage msg = m_waiting.head(id).msg;
        // The first tile of a turn arms its end.
        if (m_spentNs == 0 && m_shownThisTurn == 0)
            m_showLater.start();
        QElapsedTimer spent;
        spent.start();
        const bool shown = showRow(msg);
        m_spentNs += qMax<qint64>(1, spent.nsecsElapsed());
        if (shown) {
            m_waiting.done(id);
            ++m_shownThisTurn;
            continue;
        }
        lost += m_waiting.giveUpExpired(
            id, [now](const Waiting &waiting) { return now - waiting.since >= RetrySeconds; });
        if (m_waiting.holds(id))
            lost += m_waiting.failed(id, now);
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
    if (MessageItem *tile = m_rows.value(m_rowOfId.value(msg.id, -1))) {
        if (MessageLog::sameRow(tile->getMessageRecord(), record)) {
            tile->setMessageRecord(record);
            added = false;
        } else {
            // The tile's row is gone and its id was given to this new message.
            removeTile(tile);
        }
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
    const int row = m_rows.isEmpty() ? 0 : m_rows.lastKey() + 1;
    auto *tile = new MessageItem(record, nullptr);
    grid->addWidget(tile, row, 0);
    m_rows.insert(row, tile);
    m_rowOfId.insert(record.id, row);
    // The space below the last tile takes what is left.
    if (m_stretchRow >= 0)
        grid->setRowStretch(m_stretchRow, 0);
    m_stretchRow = row + 1;
    grid->setRowStretch(m_stretchRow, 1);
}

void MessageBar::removeTile(MessageItem *tile)
{
    const int id = tile->getMessageRecord().id;
    m_rows.remove(m_rowOfId.take(id));
    grid->removeWidget(tile);
    tile->hide();
    tile->deleteLater();
}

void MessageBar::slotsRemoveMessage(int value, int type)
{
    m_waiting.removeIf([value, type](const Waiting &waiting) {
        messageRecord record;
        record.id = waiting.msg.id;
        record.message_id = waiting.msg.message_id;
        record.panel_id = waiting.msg.panel_id;
        record.room_id = waiting.msg.room_id;
        return MessageLog::removedBy(record, value, type);
    });
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
