#include "pagesettingroommanagermoodsinformation.h"

#include "bus/broadcastsocket.h"
#include "shell/projectpicture.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QEvent>
#include <QGridLayout>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <qtmaterialcheckbox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

#include <cstdio>
#include <utility>

namespace {

const QString DefaultPicture = QStringLiteral("moods_1");

struct GroupInfo
{
    const char *title;
    const char *picture;
    const char *flag;
    const char *test;
    const char *message;
    int acNo; // the air_conditioner_no copied; -1 for the lights
};

const GroupInfo Groups[PageSettingRoomManagerMoodsInformation::GroupCount] = {
    {QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Light"),
     ":/myImages/png/edit_room/icon-room-lighting.png", "light_bool",
     "select id from tbl_light where room_id=%d and (rgb=0 or rgb=1) and subnet_id >0 and device_id >0",
     QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Please add light"), -1},
    {QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "AC 1"),
     ":/myImages/png/edit_room/icon-room-ac.png", "ac1_bool",
     "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no=0",
     QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Please add ac 1"), 0},
    {QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "AC 2"),
     ":/myImages/png/edit_room/icon-room-ac.png", "ac2_bool",
     "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no=1",
     QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Please add ac 2"), 1},
    {QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Floor Heat 1"),
     ":/myImages/png/edit_room/icon-room-floorheat.png", "floor_heat1_bool",
     "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no=2",
     QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Please add floor heat 1"), 2},
    {QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Floor Heat 2"),
     ":/myImages/png/edit_room/icon-room-floorheat.png", "floor_heat2_bool",
     "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no=3",
     QT_TRANSLATE_NOOP("PageSettingRoomManagerMoodsInformation", "Please add floor heat 2"), 3},
};

// A quoted text column as UTF-8, for a "%s" of QString::asprintf.
QByteArray text(const QSqlQuery &row, const char *column)
{
    return sqlText(row.value(QLatin1String(column)).toString()).toUtf8();
}

int number(const QSqlQuery &row, const char *column)
{
    return row.value(QLatin1String(column)).toInt();
}

} // namespace

PageSettingRoomManagerMoodsInformation::PageSettingRoomManagerMoodsInformation(const QString &id,
                                                                               const QString &name,
                                                                               QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingRoomManagerMoodsInformation"));

    pushButtonSave =
        new QtMaterialFlatButton(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
                                 tr("Save"), Material::RaisedPrimary, this);
    lineEditName = new QtMaterialLineEdit(this);
    iconItem = new ManagerItem(ManagerItemMood, 0, QString(), DefaultPicture, false,
                               QColor(0x1F, 0x29, 0x33), 300, 160, nullptr);
    iconItem->setObjectName(QStringLiteral("labelMoodIcon"));
    pushButtonSelect = new QtMaterialFlatButton(tr("Select"), Material::RaisedPrimary, this);

    auto *devices = new QGridLayout;
    devices->setSpacing(20);
    for (int g = 0; g < GroupCount; ++g) {
        pictures[g] = new QtMaterialLabel(this);
        pictures[g]->setFixedSize(48, 48);
        pictures[g]->setScaledContents(true);
        pictures[g]->setPixmap(QPixmap(QString::fromLatin1(Groups[g].picture)));
        pictures[g]->installEventFilter(this);
        checkBoxes[g] = new QtMaterialCheckBox(tr(Groups[g].title), this);
        devices->addWidget(pictures[g], 0, g);
        devices->addWidget(checkBoxes[g], 1, g);
        connect(checkBoxes[g], &QtMaterialCheckBox::toggled, this,
                &PageSettingRoomManagerMoodsInformation::checkBoxAddDevicesInCurrentState_toggled);
    }
    devices->setRowStretch(2, 1);
    devices->setColumnStretch(GroupCount, 1);

    auto *layout = new QGridLayout(this);
    layout->setSpacing(20);
    layout->addWidget(pushButtonSave, 0, 0, Qt::AlignRight);
    layout->addWidget(new QtMaterialLabel(tr("Mood Name"), this), 1, 0);
    layout->addWidget(lineEditName, 2, 0);
    layout->addWidget(new QtMaterialLabel(tr("Mood Picture"), this), 3, 0);
    layout->addWidget(iconItem, 4, 0, Qt::AlignLeft);
    layout->addWidget(new QtMaterialLabel(tr("Add Devices In Current State"), this), 5, 0);
    layout->addLayout(devices, 6, 0);
    layout->addWidget(new QtMaterialLabel(tr("Extra Diy Command"), this), 7, 0);
    layout->addWidget(pushButtonSelect, 8, 0, Qt::AlignLeft);
    layout->setRowStretch(9, 1);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingRoomManagerMoodsInformation::slotsPageEnter);
    connect(&gl_socket, &BroadcastSocket::signalsPageRemoveMoodsInformation, this,
            &PageSettingRoomManagerMoodsInformation::slotsPageRemoveMoodsInformation);
    // The photo not saved belongs to the folder of the project being left.
    connect(&gl_socket, &BroadcastSocket::signalsProjectLeaving, this,
            &PageSettingRoomManagerMoodsInformation::dropPhoto);
    writer = new PictureWriter(this);
    connect(writer, &PictureWriter::finished, this,
            [this](PictureWrite result, const QString &name) { galleryPictureWritten(int(result), name); });
    connect(iconItem, &ManagerItem::signalsIconEdit, this,
            &PageSettingRoomManagerMoodsInformation::slotsIconEdit);
    connect(pushButtonSave, &QtMaterialFlatButton::clicked, this,
            &PageSettingRoomManagerMoodsInformation::pushButtonSave_clicked);
    connect(pushButtonSelect, &QtMaterialFlatButton::clicked, this,
            &PageSettingRoomManagerMoodsInformation::pushButtonExtraDiyCommand_clicked);
}

void PageSettingRoomManagerMoodsInformation::slotsPageEnter(QString mood_room_Id, QString resetPage)
{
    if (!isVisible())
        return;
    int moodId = 0;
    int roomId = 0;
    if (std::sscanf(mood_room_Id.toLatin1().constData(), "%d-%d", &moodId, &roomId) != 2)
        roomId = 0;
    // A fresh form, or another mood: the photo chosen before is not saved.
    if (resetPage.toInt() > 0 || moodId != mood_id || roomId != room_id)
        dropPhoto();
    mood_id = moodId;
    room_id = roomId;
    commandList.clear();
    if (resetPage.toInt() > 0) {
        existing = false;
        lineEditName->clear();
        iconItem->setIconName(DefaultPicture);
        for (QtMaterialCheckBox *box : checkBoxes)
            box->setChecked(false);
        const QString sql =
            QString::asprintf("select * from tbl_mood where mood_id=%d and room_id=%d", mood_id, room_id);
        // A row that fails to read is no new mood: saving it would add a second one.
        bool ok = true;
        if (isRecordExist(sql, &ok)) {
            existing = true;
            QString value;
            bool read = true;
            if (getTextFromDb(sql, QStringLiteral("mood_name"), value, &read))
                lineEditName->setText(value);
            ok = ok && read;
            if (getTextFromDb(sql, QStringLiteral("mood_icon_name"), value, &read))
                iconItem->setIconName(value);
            ok = ok && read;
            // Checking a box runs its test: a group the room has lost stays unchecked.
            for (int g = 0; g < GroupCount; ++g) {
                const int flag = getValueFromDb(sql, QString::fromLatin1(Groups[g].flag), &read);
                checkBoxes[g]->setChecked(flag > 0);
                ok = ok && read;
            }
        }
        moodRead = ok;
    }
    updatelist();
    if (!moodRead || !commandsRead)
        emit gl_socket.signalsInformation(tr("Failed to read the mood!"));
}

void PageSettingRoomManagerMoodsInformation::updatelist()
{
    commandList = loadMoodCommands(mood_id, room_id, &commandsRead);
}

void PageSettingRoomManagerMoodsInformation::slotsPageRemoveMoodsInformation()
{
    // The editor was left without Save.
    dropPhoto();
    if (mood_id <= 0)
        return;
    // Only the commands of a mood known to be unsaved go. When that cannot be
    // told, or they stay, the next page change tries again: a later new mood
    // would take this id and find them.
    bool ok = false;
    const bool saved = isRecordExist(
        QString::asprintf("select * from tbl_mood where room_id=%d and mood_id=%d", room_id, mood_id), &ok);
    if (ok && !saved)
        ok = gl_sqlite3db.execDML(QString::asprintf(
            "delete from tbl_mood_command where room_id=%d and mood_id=%d", room_id, mood_id));
    if (!ok) {
        emit gl_socket.signalsInformation(tr("Failed to remove the commands of the unsaved mood!"));
        return;
    }
    mood_id = 0;
}

void PageSettingRoomManagerMoodsInformation::slotsIconEdit(QString iconName)
{
    if (writer->isBusy())
        return;
    IconStyleDlg style(nullptr);
    if (style.exec() != QDialog::Accepted)
        return;
    if (style.style == 1) {
        const QString file =
            askOpenFileName(this, tr("Open"), QString(), tr("Image Files(*.bmp *.png *.gif *.jpg)"));
        if (file.isEmpty())
            return;
        dropPhoto();
        gallerySource = file;
        galleryName = QString::asprintf("photo_Mood_%d", mood_id);
        iconBeforePhoto = iconItem->getIconName();
        photoPending = true;
        writer->startHeld(file, galleryName);
    } else if (style.style == 0) {
        IconSelectDlg dialog(nullptr);
        dialog.family = 5;
        dialog.initDlgCtrl();
        if (dialog.exec() == QDialog::Accepted && dialog.iconName != iconName) {
            dropPhoto();
            iconItem->setIconName(dialog.iconName);
        }
    }
}

void PageSettingRoomManagerMoodsInformation::dropPhoto()
{
    if (!std::exchange(photoPending, false))
        return;
    if (writer->isHolding())
        iconItem->setIconName(iconBeforePhoto);
    writer->drop();
}

bool PageSettingRoomManagerMoodsInformation::sayGalleryWrite(int result, const QString &name)
{
    const PictureWriteTexts texts{
        tr("Lose the dir named %1,please reboot the application!").arg(currentProjectFolder()),
        tr("Cannot read the picture %1!").arg(gallerySource), tr("Cannot save the picture %1!").arg(name),
        tr("Failed to save the mood!")};
    return sayPictureWrite(PictureWrite(result), texts);
}

void PageSettingRoomManagerMoodsInformation::galleryPictureWritten(int result, const QString &name)
{
    // A picture that cannot be read or written leaves the tile as it was.
    const bool written = sayGalleryWrite(result, name);
    if (photoPending) {
        // Held until Save: the tile shows the chosen file itself meanwhile.
        photoPending = written;
        if (written) {
            iconItem->setIconName(name);
            iconItem->setPreview(gallerySource);
        }
        return;
    }
    // Stored with the row saved during the write. The page may show another mood by
    // now; that one keeps its picture.
    if (written && name == QString::asprintf("photo_Mood_%d", mood_id))
        iconItem->setIconName(name);
}

void PageSettingRoomManagerMoodsInformation::checkBoxAddDevicesInCurrentState_toggled(bool checked)
{
    for (int g = 0; g < GroupCount; ++g) {
        if (checkBoxes[g] != sender())
            continue;
        testUnread[g] = false;
        if (!checked)
            continue;
        // A test that failed to read has not found the room without the group:
        // the box keeps its state, and Save waits for a test that reads.
        bool read = false;
        const bool found = isRecordExist(QString::asprintf(Groups[g].test, room_id), &read);
        if (!read) {
            testUnread[g] = true;
            emit gl_socket.signalsInformation(tr("Failed to read the devices of the room!"));
        } else if (!found) {
            emit gl_socket.signalsInformation(tr(Groups[g].message));
            checkBoxes[g]->setChecked(false);
        }
    }
}

bool PageSettingRoomManagerMoodsInformation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int g = 0; g < GroupCount; ++g) {
            if (watched == pictures[g])
                checkBoxes[g]->setChecked(!checkBoxes[g]->isChecked());
        }
    }
    return MyDialog::eventFilter(watched, event);
}

bool PageSettingRoomManagerMoodsInformation::saveStatements(const QString &name, QStringList &sql) const
{
    sql.clear();
    int flag[GroupCount];
    for (int g = 0; g < GroupCount; ++g)
        flag[g] = checkBoxes[g]->isChecked() ? 1 : 0;
    const int diy = commandList.isEmpty() ? 0 : 1;
    const QByteArray moodName = sqlText(name).toUtf8();
    const QByteArray iconName = sqlText(iconItem->getIconName()).toUtf8();
    if (existing)
        sql << QString::asprintf("update tbl_mood set mood_name='%s',mood_icon_name='%s',light_bool=%d,"
                                 "ac1_bool=%d,ac2_bool=%d,floor_heat1_bool=%d,floor_heat2_bool=%d,"
                                 "curtain_bool=%d,audio_bool=%d,diy_bool=%d where room_id=%d and mood_id=%d",
                                 moodName.constData(), iconName.constData(), flag[0], flag[1], flag[2],
                                 flag[3], flag[4], 0, 0, diy, room_id, mood_id);
    else
        sql << QString::asprintf(
            "insert into tbl_mood(mood_id,mood_name,mood_icon_name,light_bool,ac1_bool,"
            "ac2_bool,floor_heat1_bool,floor_heat2_bool,curtain_bool,audio_bool,diy_bool,"
            "room_id) values(%d,'%s','%s',%d,%d,%d,%d,%d,%d,%d,%d,%d)",
            mood_id, moodName.constData(), iconName.constData(), flag[0], flag[1], flag[2], flag[3], flag[4],
            0, 0, diy, room_id);

    sql << QString::asprintf("delete from tbl_mood_light_status where room_id=%d and mood_id=%d", room_id,
                             mood_id);
    if (flag[GroupLight]) {
        // Every channel row of a multi-channel light is a row of its own.
        QSqlQuery row =
            gl_sqlite3db.execQuery(QString::asprintf("select * from tbl_light where room_id=%d and "
                                                     "subnet_id >0 and device_id >0 order by light_id asc",
                                                     room_id));
        // One pass: a light's texts may hold "%N" sequences that a later pass would rewrite.
        while (row.next())
            sql << QString::asprintf(
                "insert into tbl_mood_light_status(mood_id,light_id,light_type,light_remark,subnet_id,"
                "device_id,channel,icon_name_of_light_on,icon_name_of_light_off,brightness,us_id,fade,"
                "rgb,original_type,room_id) values(%d,%d,%d,'%s',%d,%d,%d,'%s','%s',%d,%d,%d,%d,%d,%d)",
                mood_id, number(row, "light_id"), number(row, "light_type"),
                text(row, "light_remark").constData(), number(row, "subnet_id"), number(row, "device_id"),
                number(row, "channel"), text(row, "icon_name_of_light_on").constData(),
                text(row, "icon_name_of_light_off").constData(), number(row, "brightness"),
                number(row, "us_id"), number(row, "fade"), number(row, "rgb"), number(row, "original_type"),
                room_id);
        const bool whole = rowsReadToEnd(row);
        row.finish();
        if (!whole)
            return false;
    }

    sql << QString::asprintf("delete from tbl_mood_air_conditioner_status where room_id=%d and mood_id=%d",
                             room_id, mood_id);
    for (int g = GroupAc1; g < GroupCount; ++g) {
        if (!flag[g])
            continue;
        QSqlQuery row = gl_sqlite3db.execQuery(
            QString::asprintf("select * from tbl_air_conditioner where room_id=%d and air_conditioner_no=%d",
                              room_id, Groups[g].acNo));
        while (row.next())
            sql << QString::asprintf(
                "insert into tbl_mood_air_conditioner_status(mood_id,air_conditioner_no,"
                "air_conditioner_type,remark,subnet_id,device_id,channel,status,mode,speed,"
                "current_temperature,current_cool_temperature,current_heat_temperature,"
                "current_auto_temperature,current_dry_temperature,temperature_unit,original_type,"
                "room_id) values(%d,%d,%d,'%s',%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d)",
                mood_id, number(row, "air_conditioner_no"), number(row, "air_conditioner_type"),
                text(row, "remark").constData(), number(row, "subnet_id"), number(row, "device_id"),
                number(row, "channel"), number(row, "status"), number(row, "mode"), number(row, "speed"),
                number(row, "current_temperature"), number(row, "current_cool_temperature"),
                number(row, "current_heat_temperature"), number(row, "current_auto_temperature"),
                number(row, "current_dry_temperature"), number(row, "temperature_unit"),
                number(row, "original_type"), room_id);
        const bool whole = rowsReadToEnd(row);
        row.finish();
        if (!whole)
            return false;
    }

    sql << QString::asprintf("delete from tbl_mood_command where room_id=%d and mood_id=%d", room_id,
                             mood_id);
    for (const diyCommand &c : commandList)
        sql << QString::asprintf(
            "insert into tbl_mood_command(command_id,mood_id,subnet_id,device_id,"
            "command_type,prm1,prm2,prm3,prm4,room_id) values(%d,%d,%d,%d,%d,%d,%d,%d,%d,%d)",
            c.command_id, mood_id, c.subnet_id, c.device_id, c.command_type, c.prm1, c.prm2, c.prm3, c.prm4,
            room_id);
    return true;
}

void PageSettingRoomManagerMoodsInformation::pushButtonSave_clicked()
{
    // Commands or a row that failed to read would be written back in part.
    bool tested = true;
    for (bool unread : testUnread)
        tested = tested && !unread;
    if (!moodRead || !commandsRead || !tested) {
        emit gl_socket.signalsInformation(tr("Failed to save the mood!"));
        return;
    }
    const QString name = lineEditName->text();
    bool anyGroup = false;
    for (QtMaterialCheckBox *box : checkBoxes)
        anyGroup = anyGroup || box->isChecked();
    if (name.isEmpty() || (!anyGroup && commandList.isEmpty())) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return;
    }
    // The row, the snapshots and the commands go together or not at all; with the
    // held photo too, which the row names.
    QStringList sql;
    if (!saveStatements(name, sql)) {
        emit gl_socket.signalsInformation(tr("Failed to save the mood!"));
        return;
    }
    if (photoPending && writer->isHolding()) {
        photoPending = false;
        const PictureWrite placed = writer->placeHeld([&sql] { return gl_sqlite3db.execTransaction(sql); });
        if (placed != PictureWrite::Written) {
            iconItem->setIconName(iconBeforePhoto);
            sayGalleryWrite(int(placed), galleryName);
            return;
        }
    } else if (!gl_sqlite3db.execTransaction(sql)) {
        emit gl_socket.signalsInformation(tr("Failed to save the mood!"));
        return;
    }
    // The photo of this mood still being written: its name is stored with its file.
    if (std::exchange(photoPending, false) && writer->isBusy())
        writer->storeNameWithFile(QString::asprintf(
            "update tbl_mood set mood_icon_name='%s' where room_id=%d and mood_id=%d",
            sqlText(galleryName).toUtf8().constData(), room_id, mood_id));
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Room"), tr("Edit Room"),
                                        QString::number(room_id), QStringLiteral("0"));
}

void PageSettingRoomManagerMoodsInformation::pushButtonExtraDiyCommand_clicked()
{
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Diy Command"), tr("Diy Command"),
                                        QString::number(mood_id), QString::number(room_id));
}
