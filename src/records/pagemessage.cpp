#include "pagemessage.h"

#include "bus/broadcastsocket.h"
#include "records/messageitem.h"
#include "records/messagelog.h"
#include "records/messagenames.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDeadlineTimer>
#include <QGridLayout>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcombobox.h>
#include <qtmaterialdatetimeedit.h>
#include <qtmateriallabel.h>

namespace {

constexpr int AllTypes = 255;
constexpr int AllStatus = 255;
constexpr int AllRooms = 0;

QtMaterialComboBox *makeCombo(const QString &name, QWidget *parent)
{
    auto *combo = new QtMaterialComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(false);
    return combo;
}

// Items with their filter values; an item beyond the values has none.
void fill(QComboBox *combo, const QStringList &items, const QList<int> &values)
{
    combo->clear();
    for (int i = 0; i < items.size(); ++i)
        combo->addItem(items.at(i), i < values.size() ? QVariant(values.at(i)) : QVariant());
    combo->setCurrentIndex(0);
}

int filterValue(const QComboBox *combo)
{
    return combo->currentData().toInt();
}

// Listed rows the export looks up in one slice at most, however fast the look-ups.
constexpr int SliceRows = 100;

// Reads the export's rows: for each listed row, in the list's order, the row as
// stored now and the names it shows. The list may be made anew while they are
// read: what the rows showed at the press is copied.
class ListedRows
{
public:
    explicit ListedRows(const QList<QWidget *> &tiles)
    {
        listed.reserve(size_t(tiles.size()));
        for (QWidget *widget : tiles) {
            if (auto *tile = qobject_cast<MessageItem *>(widget)) {
                const messageRecord record = tile->getMessageRecord();
                listed.push_back({record.id, record.message_id, record.message_type, record.message_status,
                                  record.panel_id, record.room_id});
            }
        }
    }

    RecordExport::Slice operator()(const QDeadlineTimer &until, RecordExport::Rows &rows, QString *error)
    {
        for (int count = 0; next < listed.size(); ++next, ++count) {
            if (count == SliceRows || (count > 0 && until.hasExpired()))
                return RecordExport::Slice::More;
            const Shown &shown = listed[next];
            messageRecord held;
            held.id = shown.id;
            held.message_id = shown.messageId;
            held.message_type = shown.type;
            held.message_status = shown.status;
            held.panel_id = shown.panelId;
            held.room_id = shown.roomId;
            // Times and remark as stored now; type and status as the row showed them.
            // A row deleted since the list was made keeps its cells empty; a read that
            // failed fails the export.
            messageRecord stored;
            bool storedRead = false;
            bool namesRead = false;
            const bool found = MessageLog::read(held.id, stored, &storedRead);
            const MessageNames names = MessageNames::lookup(held, true, &namesRead);
            if (!storedRead || !namesRead) {
                *error = QStringLiteral("the messages could not be read");
                return RecordExport::Slice::Failed;
            }
            rows.push_back({{found ? QString::fromUtf8(stored.recv_time) : QString(), names.place(),
                             names.panelName, names.messageName, names.typeName, names.statusName,
                             found ? QString::fromUtf8(stored.message_log_remark) : QString(),
                             found ? QString::fromUtf8(stored.deal_time) : QString()},
                            {},
                            held.id});
        }
        return RecordExport::Slice::Done;
    }

private:
    // What a listed row showed, and what its names are looked up by.
    struct Shown
    {
        int id;
        int messageId;
        int type;
        int status;
        int panelId;
        int roomId;
    };
    std::vector<Shown> listed;
    size_t next = 0;
};

} // namespace

PageMessage::PageMessage(const QString &id, const QString &name, QWidget *parent)
    : RecordListPage(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageMessage"));
    comboBoxType = makeCombo(QStringLiteral("comboBoxType"), this);
    comboBoxStatus = makeCombo(QStringLiteral("comboBoxStatus"), this);
    comboBoxRoom = makeCombo(QStringLiteral("comboBoxRoom"), this);

    filterGrid->addWidget(new QtMaterialLabel(tr("Type:"), this), 0, 0);
    filterGrid->addWidget(comboBoxType, 0, 1);
    filterGrid->addWidget(new QtMaterialLabel(tr("Start Time:"), this), 0, 2);
    filterGrid->addWidget(dateTimeEditStart, 0, 3);
    filterGrid->addWidget(new QtMaterialLabel(tr("Status:"), this), 1, 0);
    filterGrid->addWidget(comboBoxStatus, 1, 1);
    filterGrid->addWidget(new QtMaterialLabel(tr("End Time:"), this), 1, 2);
    filterGrid->addWidget(dateTimeEditEnd, 1, 3);
    filterGrid->addWidget(new QtMaterialLabel(tr("Room:"), this), 2, 0);
    filterGrid->addWidget(comboBoxRoom, 2, 1);
    filterGrid->setColumnStretch(4, 1);
    filterGrid->setRowStretch(3, 1);

    loading = true;
    fillFilters();
    loading = false;
    for (QComboBox *combo : {comboBoxType, comboBoxStatus, comboBoxRoom})
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &PageMessage::comboBoxChange);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageMessage::slotsPageEnter);
}

void PageMessage::fillFilters()
{
    QStringList types;
    getTextsFromDb(
        QStringLiteral("select message_type_name from tbl_message_type order by message_type asc"),
        QStringLiteral("message_type_name"), types);
    fill(comboBoxType, QStringList{tr("All Types")} + types, {AllTypes, 0, 1});

    fill(comboBoxStatus, QStringList{tr("All Status")} + MessageLog::statusNames(),
         {AllStatus, 0, 1, 2, 3, 4});

    QStringList ids;
    getValuesFromDb(QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc"),
                    QStringLiteral("room_id"), ids);
    QStringList rooms{tr("All Rooms")};
    QList<int> values{AllRooms};
    for (const QString &id : qAsConst(ids)) {
        messageRecord record;
        record.room_id = id.toInt();
        const QString roomSql = QString::asprintf("select * from tbl_room where room_id=%d", record.room_id);
        if (!isRecordExist(roomSql))
            continue;
        rooms.append(MessageNames::lookup(record, true).place());
        values.append(record.room_id);
    }
    fill(comboBoxRoom, rooms, values);
}

void PageMessage::slotsPageEnter()
{
    if (!isVisible())
        return;
    loading = true;
    // Refilled on every entry, so the lists follow the current project.
    fillFilters();
    resetRange();
    updatelist();
    loading = false;
}

void PageMessage::comboBoxChange(int index)
{
    QObject *from = sender();
    if (from != comboBoxType && from != comboBoxStatus && from != comboBoxRoom)
        return;
    if (index < 0 || loading)
        return;
    updatelist();
}

QString PageMessage::listQuery() const
{
    const int type = filterValue(comboBoxType);
    const int status = filterValue(comboBoxStatus);
    const int room = filterValue(comboBoxRoom);
    QString conditions;
    if (type != AllTypes)
        conditions += QString::asprintf("message_type=%d and ", type);
    if (status != AllStatus)
        conditions += QString::asprintf("message_status=%d and ", status);
    if (room != AllRooms)
        conditions += QString::asprintf("room_id=%d and ", room);
    return QStringLiteral("select * from tbl_message_log where %1recv_time>='%2'and recv_time<='%3' "
                          "order by recv_time desc")
        .arg(conditions, sqlText(rangeStart()), sqlText(rangeEnd()));
}

void PageMessage::updatelist()
{
    beginList();
    QSqlQuery query = gl_sqlite3db.execQuery(listQuery());
    while (query.next()) {
        auto *tile = new MessageItem(MessageLog::fromRow(query), nullptr);
        connect(this, &RecordListPage::signalsLogsChecked, tile, &MessageItem::slotsMessageChecked);
        connect(this, &RecordListPage::signalsLogsVisible, tile, &MessageItem::slotsMessageVisible);
        addTile(tile);
    }
    const bool whole = rowsReadToEnd(query);
    query.finish();
    endList(whole);
}

QList<int> PageMessage::checkedIds() const
{
    QList<int> ids;
    for (QWidget *widget : tiles()) {
        auto *tile = qobject_cast<MessageItem *>(widget);
        if (tile && tile->isChecked())
            ids.append(tile->getMessageRecord().id);
    }
    return ids;
}

QString PageMessage::deleteQuestion(int count) const
{
    return QString::asprintf("%d msgs will be deleted.", count);
}

bool PageMessage::deleteRows(const QList<int> &ids)
{
    // All or nothing; the message bar hears of a removal only once it is stored.
    if (!deleteIds(QStringLiteral("tbl_message_log"), ids))
        return false;
    for (int id : ids)
        emit gl_socket.signalsRemoveMessage(id, 0);
    return true;
}

QString PageMessage::deleteFailure() const
{
    return tr("The messages could not be deleted!");
}

RecordListPage::ExportKind PageMessage::exportKind() const
{
    return {QStringLiteral("No messages"),
            QStringLiteral("the messages could not be read"),
            QStringLiteral("_message.xlsx"),
            QStringLiteral("message"),
            {QStringLiteral("Receiving Time"), QStringLiteral("Room Name"), QStringLiteral("Panel Name"),
             QStringLiteral("Message Name"), QStringLiteral("Message Type"),
             QStringLiteral("Message Status"), QStringLiteral("Message Remark"),
             QStringLiteral("Deal Time")},
            nullptr};
}

RecordExport::Reader PageMessage::exportReader() const
{
    return ListedRows(tiles());
}
