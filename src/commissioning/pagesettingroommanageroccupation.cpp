#include "pagesettingroommanageroccupation.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QSqlQuery>
#include <QVariant>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

PageSettingRoomManagerOccupation::PageSettingRoomManagerOccupation(QWidget *parent)
    : PageSettingRoomManagerOccupation(
          QStringLiteral("tbl_occupation"), QStringLiteral("5"),
          tr("The default channel no is 5.If you change the channel value,please confirm again."), parent)
{
    setObjectName(QStringLiteral("PageSettingRoomManagerOccupation"));
}

PageSettingRoomManagerOccupation::PageSettingRoomManagerOccupation(const QString &table,
                                                                   const QString &channel,
                                                                   const QString &note, QWidget *parent)
    : MyDialog(parent)
    , m_table(table)
    , m_channel(channel)
{
    auto *layout = new QGridLayout(this);
    layout->setSpacing(20);
    const QString captions[3] = {tr("Subnet ID"), tr("Device ID"), tr("Channel NO")};
    for (int i = 0; i < 3; ++i) {
        lineEdit[i] = new QtMaterialLineEdit(this);
        lineEdit[i]->setValidator(new QIntValidator(lineEdit[i]));
        layout->addWidget(new QtMaterialLabel(captions[i], this), 0, i);
        layout->addWidget(lineEdit[i], 1, i);
        connect(lineEdit[i], &QLineEdit::textChanged, this, &PageSettingRoomManagerOccupation::textChanged);
    }
    lineEdit[2]->setText(m_channel);
    int stretch = 2;
    if (!note.isEmpty()) {
        auto *label = new QtMaterialLabel(note, this);
        label->setColor(Qt::red);
        layout->addWidget(label, 2, 0, 1, 2);
        stretch = 3;
    }
    layout->setRowStretch(stretch, 1);
}

void PageSettingRoomManagerOccupation::textChanged(const QString &text)
{
    auto *field = qobject_cast<QtMaterialLineEdit *>(sender());
    const QString kept = addressFieldText(text);
    if (field && kept != text)
        field->setText(kept);
}

void PageSettingRoomManagerOccupation::initDlgCtrl(int roomId)
{
    room_id = roomId;
    lineEdit[0]->clear();
    lineEdit[1]->clear();
    lineEdit[2]->setText(m_channel);
    QSqlQuery row = gl_sqlite3db.execQuery(
        QStringLiteral("select * from %1 where room_id=%2").arg(m_table).arg(room_id));
    const bool found = row.next();
    m_rowRead = rowsReadToEnd(row);
    if (!m_rowRead)
        emit gl_socket.signalsInformation(isMaster() ? tr("Failed to read the master switch!")
                                                     : tr("Failed to read the occupation sensor!"));
    if (!found)
        return;
    lineEdit[0]->setText(QString::number(row.value(QStringLiteral("subnet_id")).toInt()));
    lineEdit[1]->setText(QString::number(row.value(QStringLiteral("device_id")).toInt()));
    lineEdit[2]->setText(QString::number(row.value(QStringLiteral("channel")).toInt()));
}

bool PageSettingRoomManagerOccupation::save()
{
    if (room_id < 1)
        return true;
    const int subnet = addressFieldValue(lineEdit[0]->text());
    const int device = addressFieldValue(lineEdit[1]->text());
    const int channel = addressFieldValue(lineEdit[2]->text());
    bool saved = true;
    if (!m_rowRead) {
        // The fields never showed the stored row: they are no edit of it.
        saved = false;
    } else if (subnet >= 1 && device >= 1 && channel >= 1) {
        QSqlQuery found = gl_sqlite3db.execQuery(
            QStringLiteral("select id from %1 where room_id=%2").arg(m_table).arg(room_id));
        const bool exists = found.next();
        // An unread answer is no "none there": a second row would be added.
        const bool read = rowsReadToEnd(found);
        found.finish();
        if (!read) {
            saved = false;
        } else if (exists) {
            saved = gl_sqlite3db.execDML(
                QStringLiteral(
                    "update %1 set subnet_id=%2,device_id=%3,channel=%4,status=0 where room_id=%5")
                    .arg(m_table)
                    .arg(subnet)
                    .arg(device)
                    .arg(channel)
                    .arg(room_id));
        } else {
            saved = gl_sqlite3db.execDML(
                QStringLiteral(
                    "insert into %1(subnet_id,device_id,channel,status,room_id) values(%2,%3,%4,0,%5)")
                    .arg(m_table)
                    .arg(subnet)
                    .arg(device)
                    .arg(channel)
                    .arg(room_id));
        }
    } else {
        saved = gl_sqlite3db.execDML(
            QStringLiteral("delete from %1 where room_id=%2").arg(m_table).arg(room_id));
    }
    if (!saved) {
        emit gl_socket.signalsInformation(isMaster() ? tr("Failed to save the master switch!")
                                                     : tr("Failed to save the occupation sensor!"));
    }
    room_id = 0;
    return saved;
}

bool PageSettingRoomManagerOccupation::isMaster() const
{
    return m_table == QLatin1String("tbl_master");
}
