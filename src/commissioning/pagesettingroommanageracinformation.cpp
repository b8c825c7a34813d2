#include "pagesettingroommanageracinformation.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialradiobutton.h>
#include <qtmaterialtheme.h>

PageSettingRoomManagerACInformation::PageSettingRoomManagerACInformation(const QString &id,
                                                                         const QString &name,
                                                                         QWidget *parent)
    : PageSettingRoomManagerACInformation(id, name, false, parent)
{
    setObjectName(QStringLiteral("PageSettingRoomManagerACInformation"));
}

PageSettingRoomManagerACInformation::PageSettingRoomManagerACInformation(const QString &id,
                                                                         const QString &name, bool floorHeat,
                                                                         QWidget *parent)
    : MyDialog(id, name, parent)
    , floor_heat(floorHeat)
{
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    pushButtonSave = new QtMaterialFlatButton(tr("Save"), Material::RaisedPrimary, this);
    pushButtonSave->setIcon(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")));
    lineEditName = new QtMaterialLineEdit(this);
    auto *nameGrid = new QGridLayout;
    nameGrid->setSpacing(20);
    nameGrid->addWidget(new QtMaterialLabel(floor_heat ? tr("Floor Heat Name") : tr("AC Name"), this), 0, 0);
    nameGrid->addWidget(lineEditName, 1, 0);

    auto *numbers = new QGridLayout;
    numbers->setSpacing(20);
    const QString captions[3] = {tr("Subnet ID"), tr("Device ID"),
                                 floor_heat ? tr("Floor Heat NO") : tr("AC NO")};
    for (int i = 0; i < 3; ++i) {
        lineEditNumber[i] = new QtMaterialLineEdit(this);
        lineEditNumber[i]->setValidator(new QIntValidator(lineEditNumber[i]));
        numbers->addWidget(new QtMaterialLabel(captions[i], this), 0, i);
        numbers->addWidget(lineEditNumber[i], 1, i);
        connect(lineEditNumber[i], &QLineEdit::textChanged, this,
                &PageSettingRoomManagerACInformation::textChanged);
    }
    numbers->setColumnStretch(3, 1);

    checkBoxHide = new QtMaterialCheckBox(tr("Hide Room Temperature"), this);

    auto *layout = new QGridLayout(this);
    layout->setSpacing(20);
    layout->addWidget(pushButtonSave, 0, 0, Qt::AlignRight);
    layout->addLayout(nameGrid, 1, 0);
    int row = 2;
    if (!floor_heat) {
        radioButtonPanel = new QtMaterialRadioButton(tr("Panel"), this);
        radioButtonIR = new QtMaterialRadioButton(tr("IR"), this);
        auto *group = new QButtonGroup(this);
        group->addButton(radioButtonPanel, 0);
        group->addButton(radioButtonIR, 1);
        radioButtonPanel->setChecked(true);
        auto *drive = new QHBoxLayout;
        drive->setSpacing(20);
        drive->addWidget(new QtMaterialLabel(tr("Control Via "), this));
        drive->addWidget(radioButtonPanel);
        drive->addWidget(radioButtonIR);
        drive->addStretch(1);
        layout->addLayout(drive, row++, 0);

        comboBoxPatch = new QtMaterialComboBox(this);
        comboBoxPatch->setEditable(false);
        comboBoxPatch->addItem(tr("Patch A"));
        comboBoxPatch->addItem(tr("Patch B"));
        comboBoxPatch->setMinimumWidth(200);
        comboBoxPatch->hide();
        numbers->addWidget(comboBoxPatch, 1, 2);
        connect(radioButtonPanel, &QAbstractButton::clicked, this,
                &PageSettingRoomManagerACInformation::radioButtonACType_clicked);
        connect(radioButtonIR, &QAbstractButton::clicked, this,
                &PageSettingRoomManagerACInformation::radioButtonACType_clicked);
    }
    layout->addLayout(numbers, row++, 0);
    layout->addWidget(checkBoxHide, row++, 0);
    layout->setRowStretch(row, 1);

    connect(pushButtonSave, &QAbstractButton::clicked, this,
            &PageSettingRoomManagerACInformation::pushButtonSave_clicked);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingRoomManagerACInformation::slotsPageEnter);
}

void PageSettingRoomManagerACInformation::radioButtonACType_clicked()
{
    if (floor_heat)
        return;
    comboBoxPatch->setVisible(radioButtonIR->isChecked());
    lineEditNumber[2]->setVisible(radioButtonPanel->isChecked());
}

void PageSettingRoomManagerACInformation::textChanged(const QString &text)
{
    auto *field = qobject_cast<QtMaterialLineEdit *>(sender());
    const QString kept = addressFieldText(text);
    if (field && kept != text)
        field->setText(kept);
}

void PageSettingRoomManagerACInformation::slotsPageEnter(QString numberText, QString roomId)
{
    if (!isVisible())
        return;
    exists = false;
    number = numberText.toInt();
    room_id = roomId.toInt();
    lineEditName->clear();
    for (QtMaterialLineEdit *field : lineEditNumber)
        field->clear();
    checkBoxHide->setChecked(false);
    if (!floor_heat) {
        radioButtonPanel->setChecked(true);
        comboBoxPatch->setCurrentIndex(1);
    }

    QSqlQuery row = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_air_conditioner where room_id=%d and air_conditioner_no=%d", room_id, number));
    if (row.next()) {
        lineEditName->setText(row.value(QStringLiteral("remark")).toString());
        lineEditNumber[0]->setText(QString::number(row.value(QStringLiteral("subnet_id")).toInt()));
        lineEditNumber[1]->setText(QString::number(row.value(QStringLiteral("device_id")).toInt()));
        const int channel = row.value(QStringLiteral("channel")).toInt();
        const bool ir = !floor_heat && row.value(QStringLiteral("air_conditioner_type")).toInt() == 1;
        if (ir) {
            radioButtonIR->setChecked(true);
            if (channel >= 1 && channel <= comboBoxPatch->count())
                comboBoxPatch->setCurrentIndex(channel - 1);
        } else {
            lineEditNumber[2]->setText(QString::number(channel));
        }
        checkBoxHide->setChecked(row.value(QStringLiteral("room_temperature_type")).toInt() > 0);
        exists = true;
    }
    m_rowRead = rowsReadToEnd(row);
    row.finish();
    radioButtonACType_clicked();
    if (!m_rowRead)
        emit gl_socket.signalsInformation(floor_heat ? tr("Failed to read the floor heating!")
                                                     : tr("Failed to read the air conditioner!"));
}

void PageSettingRoomManagerACInformation::pushButtonSave_clicked()
{
    const QString failure =
        floor_heat ? tr("Failed to save the floor heating!") : tr("Failed to save the air conditioner!");
    // A form the stored row never reached is no edit of it.
    if (!m_rowRead) {
        emit gl_socket.signalsInformation(failure);
        return;
    }
    const QString name = lineEditName->text();
    const int subnet = addressFieldValue(lineEditNumber[0]->text());
    const int device = addressFieldValue(lineEditNumber[1]->text());
    const bool ir = !floor_heat && radioButtonIR->isChecked();
    const int channel =
        ir ? comboBoxPatch->currentIndex() + 1 : addressFieldValue(lineEditNumber[2]->text());
    if (name.isEmpty() || subnet == 0 || device == 0 || channel == 0) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return;
    }
    const int type = ir ? 1 : 0;
    const int hide = checkBoxHide->isChecked() ? 1 : 0;
    // Insert or update as the row is there now; an unread answer would add a second row.
    bool read = false;
    exists = isRecordExist(QString::asprintf("select id from tbl_air_conditioner where room_id=%d and "
                                             "air_conditioner_no=%d",
                                             room_id, number),
                           &read);
    if (!read) {
        emit gl_socket.signalsInformation(failure);
        return;
    }
    // The device state, limits and version start afresh; the cards read them again.
    QString sql;
    if (!exists) {
        sql =
            QStringLiteral(
                "insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,remark,subnet_id,"
                "device_id,channel,status,mode,speed,current_temperature,current_cool_temperature,"
                "current_heat_temperature,current_auto_temperature,current_dry_temperature,"
                "temperature_unit,function,high_limit,low_limit,room_temperature,room_temperature_type,"
                "original_type,version,room_id) values(%1,%2,'%8',%3,%4,%5,0,0,0,0,0,0,0,0,0,'','','',0,%6,"
                "0,'',%7)")
                .arg(number)
                .arg(type)
                .arg(subnet)
                .arg(device)
                .arg(channel)
                .arg(hide)
                .arg(room_id)
                .arg(sqlText(name));
    } else {
        sql = QStringLiteral(
                  "update tbl_air_conditioner set air_conditioner_type=%1,remark='%8',subnet_id=%2,"
                  "device_id=%3,channel=%4,status=0,mode=0,speed=0,current_temperature=0,"
                  "current_cool_temperature=0,current_heat_temperature=0,current_auto_temperature=0,"
                  "current_dry_temperature=0,temperature_unit=0,function='',high_limit='',low_limit='',"
                  "room_temperature=0,room_temperature_type=%5,original_type=0,version='' where room_id=%6 "
                  "and air_conditioner_no=%7")
                  .arg(type)
                  .arg(subnet)
                  .arg(device)
                  .arg(channel)
                  .arg(hide)
                  .arg(room_id)
                  .arg(number)
                  .arg(sqlText(name));
    }
    // One statement: a refused write leaves the row as it was and the page as typed.
    if (!gl_sqlite3db.execDML(sql)) {
        emit gl_socket.signalsInformation(failure);
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Room"), tr("Edit Room"),
                                        QString::number(room_id), QStringLiteral("0"));
}
