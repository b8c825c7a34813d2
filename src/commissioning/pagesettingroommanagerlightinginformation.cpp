#include "pagesettingroommanagerlightinginformation.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "shell/iconselectdlg.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

namespace {

enum LightType { OnOff = 0, Adjust = 1, Rgb = 2, HsbRgb = 6, Scene = 7, DaliDt8 = 8 };

const QString DefaultPicture = QStringLiteral("light_01_on");

} // namespace

PageSettingRoomManagerLightingInformation::PageSettingRoomManagerLightingInformation(const QString &id,
                                                                                     const QString &name,
                                                                                     QWidget *parent)
    : PageSettingRoomManagerLightingInformation(id, name, true, parent)
{
    setObjectName(QStringLiteral("PageSettingRoomManagerLightingInformation"));
}

PageSettingRoomManagerLightingInformation::PageSettingRoomManagerLightingInformation(const QString &id,
                                                                                     const QString &name,
                                                                                     bool withAddress,
                                                                                     QWidget *parent)
    : MyDialog(id, name, parent)
{
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    pushButtonSave = new QtMaterialFlatButton(tr("Save"), Material::RaisedPrimary, this);
    pushButtonSave->setIcon(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")));
    auto *top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(pushButtonSave);

    lineEditName = new QtMaterialLineEdit(this);
    comboBoxType = new QtMaterialComboBox(this);
    comboBoxType->setEditable(false);
    const QPair<const char *, int> types[] = {
        {QT_TR_NOOP("On/Off"), OnOff},   {QT_TR_NOOP("Adjust"), Adjust}, {QT_TR_NOOP("RGB"), Rgb},
        {QT_TR_NOOP("HSB RGB"), HsbRgb}, {QT_TR_NOOP("Scene"), Scene},   {QT_TR_NOOP("Dali DT8"), DaliDt8}};
    for (const auto &type : types)
        comboBoxType->addItem(tr(type.first), type.second);
    auto *left = new QGridLayout;
    left->setSpacing(20);
    left->addWidget(new QtMaterialLabel(tr("Name"), this), 0, 0);
    left->addWidget(lineEditName, 1, 0);
    left->addWidget(new QtMaterialLabel(tr("Type"), this), 2, 0);
    left->addWidget(comboBoxType, 3, 0);
    left->setRowStretch(4, 1);

    iconItem = new ManagerItem(ManagerItemLight, 0, QString(), DefaultPicture, false,
                               QColor(0x1F, 0x29, 0x33), 192, 192, nullptr);
    auto *right = new QGridLayout;
    right->setSpacing(20);
    right->addWidget(new QtMaterialLabel(tr("Icon"), this), 0, 0);
    right->addWidget(iconItem, 1, 0);
    right->setRowStretch(2, 1);
    right->setColumnStretch(1, 1);

    auto *upper = new QHBoxLayout;
    upper->setSpacing(20);
    upper->addLayout(left, 1);
    upper->addLayout(right, 1);

    auto *layout = new QGridLayout(this);
    layout->setSpacing(20);
    layout->addLayout(top, 0, 0);
    layout->addLayout(upper, 1, 0);
    layout->setRowStretch(3, 1);

    connect(iconItem, &ManagerItem::signalsIconEdit, this,
            &PageSettingRoomManagerLightingInformation::slotsIconEdit);
    connect(pushButtonSave, &QAbstractButton::clicked, this,
            &PageSettingRoomManagerLightingInformation::pushButtonSave_clicked);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingRoomManagerLightingInformation::slotsPageEnter);
    if (!withAddress)
        return;

    auto *address = new QGridLayout;
    address->setSpacing(20);
    const QString captions[3] = {tr("Subnet ID"), tr("Device ID"), tr("Channel NO")};
    auto makeField = [this]() {
        auto *field = new QtMaterialLineEdit(this);
        field->setValidator(new QIntValidator(field));
        connect(field, &QLineEdit::textChanged, this,
                &PageSettingRoomManagerLightingInformation::textChanged);
        return field;
    };
    for (int set = 0; set < 4; ++set) {
        for (int column = 0; column < 3; ++column) {
            labelAddress[set][column] = new QtMaterialLabel(captions[column], this);
            lineEditAddress[set][column] = makeField();
            address->addWidget(labelAddress[set][column], set * 2, column);
            address->addWidget(lineEditAddress[set][column], set * 2 + 1, column);
        }
    }
    labelArea = new QtMaterialLabel(tr("Area"), this);
    labelScene = new QtMaterialLabel(tr("Scene"), this);
    lineEditArea = makeField();
    lineEditScene = makeField();
    address->addWidget(labelArea, 2, 0);
    address->addWidget(lineEditArea, 3, 0);
    address->addWidget(labelScene, 2, 1);
    address->addWidget(lineEditScene, 3, 1);
    address->setRowStretch(8, 1);
    layout->addLayout(address, 2, 0);

    comboBoxChange(0);
    connect(comboBoxType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &PageSettingRoomManagerLightingInformation::comboBoxChange);
}

void PageSettingRoomManagerLightingInformation::comboBoxChange(int index)
{
    if (index < 0)
        return;
    const int type = comboBoxType->itemData(index).toInt();
    labelAddress[0][2]->setVisible(type != Scene);
    lineEditAddress[0][2]->setVisible(type != Scene);
    for (int set = 1; set < 4; ++set) {
        for (int column = 0; column < 3; ++column) {
            labelAddress[set][column]->setVisible(type == Rgb);
            lineEditAddress[set][column]->setVisible(type == Rgb);
        }
    }
    for (QWidget *widget : {static_cast<QWidget *>(labelArea), static_cast<QWidget *>(lineEditArea),
                            static_cast<QWidget *>(labelScene), static_cast<QWidget *>(lineEditScene)})
        widget->setVisible(type == Scene);
}

void PageSettingRoomManagerLightingInformation::textChanged(const QString &text)
{
    auto *field = qobject_cast<QtMaterialLineEdit *>(sender());
    const QString kept = addressFieldText(text);
    if (field && kept != text)
        field->setText(kept);
}

void PageSettingRoomManagerLightingInformation::slotsIconEdit(QString iconName)
{
    IconSelectDlg dialog(nullptr);
    dialog.family = 4;
    dialog.initDlgCtrl();
    if (dialog.exec() == QDialog::Accepted && dialog.iconName != iconName)
        iconItem->setIconName(dialog.iconName);
}

void PageSettingRoomManagerLightingInformation::slotsPageEnter(QString lightId, QString roomId)
{
    if (!isVisible())
        return;
    light_id = lightId.toInt();
    room_id = roomId.toInt();

    lineEditName->clear();
    iconItem->setIconName(DefaultPicture);
    comboBoxType->setCurrentIndex(0);
    for (auto &set : lineEditAddress) {
        for (QtMaterialLineEdit *field : set)
            field->clear();
    }
    lineEditArea->clear();
    lineEditScene->clear();
    loadLight();
    rowsEntered(m_rowsRead);
}

void PageSettingRoomManagerLightingInformation::rowsEntered(bool read)
{
    m_rowsRead = read;
    if (!read)
        emit gl_socket.signalsInformation(tr("Failed to read the light!"));
}

bool PageSettingRoomManagerLightingInformation::saveRefused()
{
    // Fields left empty by a failed read are no edit: saving them would drop rows.
    if (m_rowsRead)
        return false;
    emit gl_socket.signalsInformation(tr("Failed to save the light!"));
    return true;
}

void PageSettingRoomManagerLightingInformation::loadLight()
{
    QSqlQuery first = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_light where light_id=%d and room_id=%d and (rgb=0 or rgb=1)", light_id, room_id));
    const bool found = first.next();
    m_rowsRead = rowsReadToEnd(first);
    if (!found)
        return;
    const int type = first.value(QStringLiteral("light_type")).toInt();
    lineEditName->setText(first.value(QStringLiteral("light_remark")).toString());
    iconItem->setIconName(first.value(QStringLiteral("icon_name_of_light_on")).toString());
    const int index = comboBoxType->findData(type);
    comboBoxType->setCurrentIndex(index < 0 ? 0 : index);
    const QString subnet = QString::number(first.value(QStringLiteral("subnet_id")).toInt());
    const QString device = QString::number(first.value(QStringLiteral("device_id")).toInt());
    const QString channel = QString::number(first.value(QStringLiteral("channel")).toInt());
    const QString scene = QString::number(first.value(QStringLiteral("us_id")).toInt());
    first.finish();
    lineEditAddress[0][0]->setText(subnet);
    lineEditAddress[0][1]->setText(device);
    if (type == Scene) {
        lineEditArea->setText(channel);
        lineEditScene->setText(scene);
        return;
    }
    lineEditAddress[0][2]->setText(channel);
    if (type != Rgb)
        return;
    for (int set = 1; set < 4; ++set) {
        QSqlQuery row = gl_sqlite3db.execQuery(
            QString::asprintf("select * from tbl_light where room_id=%d and light_id=%d and rgb=%d", room_id,
                              light_id, set + 1));
        const bool stored = row.next();
        m_rowsRead = m_rowsRead && rowsReadToEnd(row);
        if (!stored)
            continue;
        lineEditAddress[set][0]->setText(QString::number(row.value(QStringLiteral("subnet_id")).toInt()));
        lineEditAddress[set][1]->setText(QString::number(row.value(QStringLiteral("device_id")).toInt()));
        lineEditAddress[set][2]->setText(QString::number(row.value(QStringLiteral("channel")).toInt()));
    }
}

void PageSettingRoomManagerLightingInformation::pushButtonSave_clicked()
{
    if (saveRefused())
        return;
    const SaveResult result = saveLight();
    if (result == SaveResult::Incomplete) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return;
    }
    if (result == SaveResult::Failed) {
        emit gl_socket.signalsInformation(tr("Failed to save the light!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Room"), tr("Edit Room"),
                                        QString::number(room_id), QStringLiteral("0"));
}

// Incomplete input writes nothing; a failed write is rolled back and leaves the
// light as it was.
PageSettingRoomManagerLightingInformation::SaveResult PageSettingRoomManagerLightingInformation::saveLight()
{
    auto value = [](QtMaterialLineEdit *field) { return addressFieldValue(field->text()); };
    const QString name = lineEditName->text();
    if (name.isEmpty() || value(lineEditAddress[0][0]) == 0 || value(lineEditAddress[0][1]) == 0)
        return SaveResult::Incomplete;
    const QString on = iconItem->getIconName();
    const QString off = lightOffIconName(on);
    const int type = comboBoxType->currentData().toInt();

    struct Row
    {
        int subnet, device, channel, scene, rgb;
    };
    QList<Row> rows;
    if (type == Scene) {
        if (value(lineEditArea) == 0 || value(lineEditScene) == 0)
            return SaveResult::Incomplete;
        rows.append({value(lineEditAddress[0][0]), value(lineEditAddress[0][1]), value(lineEditArea),
                     value(lineEditScene), 0});
    } else {
        if (value(lineEditAddress[0][2]) == 0)
            return SaveResult::Incomplete;
        if (type == Rgb) {
            for (int set = 1; set < 3; ++set) {
                for (int column = 0; column < 3; ++column) {
                    if (value(lineEditAddress[set][column]) == 0)
                        return SaveResult::Incomplete;
                }
            }
            const int sets =
                value(lineEditAddress[3][0]) && value(lineEditAddress[3][1]) && value(lineEditAddress[3][2])
                    ? 4
                    : 3;
            for (int set = 0; set < sets; ++set) {
                rows.append({value(lineEditAddress[set][0]), value(lineEditAddress[set][1]),
                             value(lineEditAddress[set][2]), 0, set + 1});
            }
        } else {
            rows.append({value(lineEditAddress[0][0]), value(lineEditAddress[0][1]),
                         value(lineEditAddress[0][2]), 0, 0});
        }
    }

    QStringList statements{
        QString::asprintf("delete from tbl_light where room_id=%d and light_id=%d", room_id, light_id)};
    for (const Row &row : qAsConst(rows)) {
        statements.append(
            QStringLiteral(
                "insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,channel,"
                "icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,rgb,original_type,"
                "version,room_id) values(%1,%2,'%9',%3,%4,%5,'%10','%11',0,%6,0,%7,0,'',%8)")
                .arg(light_id)
                .arg(type)
                .arg(row.subnet)
                .arg(row.device)
                .arg(row.channel)
                .arg(row.scene)
                .arg(row.rgb)
                .arg(room_id)
                .arg(sqlText(name), sqlText(on), sqlText(off)));
    }
    // The delete and the inserts go together: a failed insert keeps the old rows.
    return execTransaction(statements) ? SaveResult::Saved : SaveResult::Failed;
}
