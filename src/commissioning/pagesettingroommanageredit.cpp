#include "pagesettingroommanageredit.h"

#include "bus/broadcastsocket.h"
#include "commissioning/pagesettingroommanagerac.h"
#include "commissioning/pagesettingroommanagerfloorheat.h"
#include "commissioning/pagesettingroommanagerlighting.h"
#include "commissioning/pagesettingroommanagermaster.h"
#include "commissioning/pagesettingroommanageroccupation.h"
#include "commissioning/pagesettingroommanagerpanel.h"
#include "shell/projectpicture.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSqlQuery>
#include <QVariant>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtabs.h>

namespace {

const QString DefaultPicture = QStringLiteral("room_1");

} // namespace

PageSettingRoomManagerEdit::PageSettingRoomManagerEdit(const QString &id, const QString &name,
                                                       QWidget *parent)
    : PageSettingRoomManagerEdit(id, name,
                                 {QStringLiteral("Edit Room"), tr("Room Name"), tr("Room Picture"),
                                  ManagerItemRoom, QStringLiteral("tbl_room"), QStringLiteral("room_id"),
                                  QStringLiteral("room_name"), QStringLiteral("icon_name"), "photo_Room_%d"},
                                 parent)
{
    setObjectName(QStringLiteral("PageSettingRoomManagerEdit"));
    lighting = new PageSettingRoomManagerLighting(nullptr);
    addRoomTab(tr("Lighting"), QStringLiteral(":/myImages/png/edit_room/icon-room-lighting.png"), lighting,
               [this](int roomId) { lighting->updatelist(roomId); });
    auto *ac = new PageSettingRoomManagerAC(nullptr);
    addRoomTab(tr("AC"), QStringLiteral(":/myImages/png/edit_room/icon-room-ac.png"), ac,
               [ac](int roomId) { ac->updatelist(roomId); });
    auto *floorHeat = new PageSettingRoomManagerFloorHeat(nullptr);
    addRoomTab(tr("Floor Heat"), QStringLiteral(":/myImages/png/edit_room/icon-room-floorheat.png"),
               floorHeat, [floorHeat](int roomId) { floorHeat->updatelist(roomId); });
    auto *occupation = new PageSettingRoomManagerOccupation(nullptr);
    addRoomTab(
        tr("Occupation"), QStringLiteral(":/myImages/png/edit_room/icon-room-occupation.png"), occupation,
        [occupation](int roomId) { occupation->initDlgCtrl(roomId); },
        [occupation]() { return occupation->save(); });
    auto *master = new PageSettingRoomManagerMaster(nullptr);
    addRoomTab(
        tr("Master"), QStringLiteral(":/myImages/png/edit_room/icon-room-master.png"), master,
        [master](int roomId) { master->initDlgCtrl(roomId); }, [master]() { return master->save(); });
    auto *panel = new PageSettingRoomManagerPanel(nullptr);
    addRoomTab(tr("Panel"), QStringLiteral(":/myImages/png/edit_room/icon-room-panel.png"), panel,
               [panel](int roomId) { panel->updatelist(roomId); });
}

PageSettingRoomManagerEdit::PageSettingRoomManagerEdit(const QString &id, const QString &name,
                                                       const Owner &owner, QWidget *parent)
    : MyDialog(id, name, parent)
    , m_owner(owner)
{
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    lineEditRoomName = new QtMaterialLineEdit(this);
    auto *nameGrid = new QGridLayout;
    nameGrid->setSpacing(20);
    nameGrid->addWidget(new QtMaterialLabel(m_owner.nameLabel, this), 0, 0);
    nameGrid->addWidget(lineEditRoomName, 1, 0);
    nameGrid->setRowStretch(2, 1);

    iconItem = new ManagerItem(m_owner.tileKind, 0, QString(), DefaultPicture, false,
                               QColor(0x1F, 0x29, 0x33), 300, 160, nullptr);
    labelModifyRoomIcon = new QtMaterialLabel(this);
    labelModifyRoomIcon->setObjectName(QStringLiteral("labelModifyRoomIcon"));
    labelModifyRoomIcon->setFixedSize(24, 24);
    labelModifyRoomIcon->setScaledContents(true);
    labelModifyRoomIcon->setPixmap(QPixmap(QStringLiteral(":/myImages/png/icon-system-edit.png")));
    auto *pictureGrid = new QGridLayout;
    pictureGrid->setSpacing(20);
    pictureGrid->addWidget(new QtMaterialLabel(m_owner.pictureLabel, this), 0, 0);
    pictureGrid->addWidget(iconItem, 1, 0);
    pictureGrid->addWidget(labelModifyRoomIcon, 1, 1, Qt::AlignBottom);
    pictureGrid->setColumnStretch(2, 1);
    pictureGrid->setRowStretch(2, 1);

    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    top->addLayout(nameGrid, 1);
    top->addLayout(pictureGrid, 1);

    tabs = new QtMaterialTabs(this);

    // The tab pages share one cell, which stays in the layout whichever page shows.
    auto *cell = new QWidget(this);
    layout = new QGridLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *main = new QGridLayout(this);
    main->setSpacing(20);
    main->addLayout(top, 0, 0);
    main->addWidget(tabs, 1, 0);
    main->addWidget(cell, 2, 0);
    main->setRowStretch(2, 1);

    writer = new PictureWriter(this);
    connect(writer, &PictureWriter::finished, this,
            [this](PictureWrite result, const QString &name) { galleryPictureWritten(int(result), name); });
    connect(iconItem, &ManagerItem::signalsIconEdit, this, &PageSettingRoomManagerEdit::slotsIconEdit);
    connect(labelModifyRoomIcon, &QtMaterialLabel::signalsPressed, this,
            &PageSettingRoomManagerEdit::labelModifyRoomIcon_pressed);
    connect(tabs, &QtMaterialTabs::currentChanged, this, &PageSettingRoomManagerEdit::currentChanged);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingRoomManagerEdit::slotsPageEnter);
    connect(&gl_socket, &BroadcastSocket::signalsPageLeave, this,
            &PageSettingRoomManagerEdit::slotsPageLeave);
}

void PageSettingRoomManagerEdit::addRoomTab(const QString &title, const QString &icon, MyDialog *page,
                                            std::function<void(int)> load, std::function<bool()> save)
{
    tabs->addTab(icon, title);
    page->hide();
    layout->addWidget(page, 0, 0);
    roomTabs.append({page, std::move(load), std::move(save)});
}

void PageSettingRoomManagerEdit::slotsPageEnter(QString roomId, QString resetTabs)
{
    if (!isVisible())
        return;
    lineEditRoomName->clear();
    iconItem->setIconName(DefaultPicture);
    room_id = roomId.toInt();

    QSqlQuery room = gl_sqlite3db.execQuery(
        QStringLiteral("select * from %1 where %2=%3").arg(m_owner.table, m_owner.idColumn).arg(room_id));
    if (room.next()) {
        lineEditRoomName->setText(room.value(m_owner.nameColumn).toString());
        iconItem->setIconName(room.value(m_owner.iconColumn).toString());
    }
    m_rowRead = rowsReadToEnd(room);
    room.finish();
    if (!m_rowRead)
        emit gl_socket.signalsInformation(m_owner.tileKind == ManagerItemRoom
                                              ? tr("Failed to read the room!")
                                              : tr("Failed to read the template!"));
    // Back after a refused save: the typing comes back, not the stored row.
    if (m_returning && m_unsaved.id == room_id) {
        lineEditRoomName->setText(m_unsaved.name);
        iconItem->setIconName(m_unsaved.icon);
    }
    m_returning = false;

    if (resetTabs.toInt() > 0 || current < 0)
        tabs->setCurrentIndex(0);
    for (const RoomTab &tab : qAsConst(roomTabs))
        tab.load(room_id);
}

void PageSettingRoomManagerEdit::slotsPageLeave(QString id)
{
    // Compared with the untranslated page id.
    if (id != m_owner.pageId)
        return;
    const QString failure = m_owner.tileKind == ManagerItemRoom ? tr("Failed to save the room!")
                                                                : tr("Failed to save the template!");
    if (!m_rowRead) {
        // The page never showed the stored row: its empty fields are no edit of it.
        emit gl_socket.signalsInformation(failure);
        return;
    }
    const Unsaved typed{room_id, lineEditRoomName->text(), iconItem->getIconName()};
    const QString sql = QStringLiteral("update %1 set %2='%6',%3='%7'where %4=%5")
                            .arg(m_owner.table, m_owner.nameColumn, m_owner.iconColumn, m_owner.idColumn)
                            .arg(room_id)
                            .arg(sqlText(typed.name), sqlText(typed.icon));
    if (saveRow(sql)) {
        m_unsaved = {};
        // A picture of this row still being written: its name is stored with its file.
        const QString photo = QString::asprintf(m_owner.photo, room_id);
        if (writer->isBusy() && m_galleryName == photo)
            writer->storeNameWithFile(QStringLiteral("update %1 set %2='%3' where %4=%5")
                                          .arg(m_owner.table, m_owner.iconColumn, sqlText(photo),
                                               m_owner.idColumn)
                                          .arg(room_id));
        return;
    }
    emit gl_socket.signalsInformation(failure);
    // The editor comes back with the typing kept, once: leaving again with the
    // same refused typing lets the user go without it.
    if (typed.id == m_unsaved.id && typed.name == m_unsaved.name && typed.icon == m_unsaved.icon) {
        m_unsaved = {};
        return;
    }
    m_unsaved = typed;
    // Asked once the page switch under way has ended.
    QMetaObject::invokeMethod(
        this,
        [this, id = typed.id]() {
            m_returning = true;
            emit gl_socket.signalsPageIdChanged(m_owner.pageId, getName(), QString::number(id),
                                                QStringLiteral("0"));
            m_returning = false;
        },
        Qt::QueuedConnection);
}

bool PageSettingRoomManagerEdit::saveRow(const QString &sql)
{
    return runInTransaction([&] {
        bool saved = gl_sqlite3db.execDML(sql);
        for (const RoomTab &tab : qAsConst(roomTabs))
            saved = saved && (!tab.save || tab.save());
        return saved;
    });
}

void PageSettingRoomManagerEdit::currentChanged(int index)
{
    current = index;
    for (int i = 0; i < roomTabs.size(); ++i)
        roomTabs.at(i).page->setVisible(i == index);
}

void PageSettingRoomManagerEdit::slotsIconEdit(QString iconName)
{
    if (writer->isBusy())
        return;
    IconSelectDlg dialog(nullptr);
    dialog.family = 1;
    dialog.initDlgCtrl();
    if (dialog.exec() == QDialog::Accepted && dialog.iconName != iconName)
        iconItem->setIconName(dialog.iconName);
}

void PageSettingRoomManagerEdit::labelModifyRoomIcon_pressed()
{
    if (writer->isBusy())
        return;
    IconStyleDlg style(nullptr);
    if (style.exec() != QDialog::Accepted)
        return;
    if (style.style == 0) {
        IconSelectDlg dialog(nullptr);
        dialog.family = 1;
        dialog.initDlgCtrl();
        if (dialog.exec() == QDialog::Accepted)
            iconItem->setIconName(dialog.iconName);
    } else if (style.style == 1) {
        addFromGallery();
    }
}

void PageSettingRoomManagerEdit::addFromGallery()
{
    const QString file =
        askOpenFileName(nullptr, tr("Open"), QString(), tr("Image Files(*.bmp *.png *.gif *.jpg)"));
    if (file.isEmpty())
        return;
    m_gallerySource = file;
    m_galleryName = QString::asprintf(m_owner.photo, room_id);
    writer->start(file, m_galleryName);
}

void PageSettingRoomManagerEdit::galleryPictureWritten(int result, const QString &name)
{
    const bool room = m_owner.tileKind == ManagerItemRoom;
    const PictureWriteTexts texts{
        tr("Lose the dir named %1,please reboot the application!").arg(currentProjectName()),
        tr("Cannot read the picture %1!").arg(m_gallerySource), tr("Cannot save the picture %1!").arg(name),
        room ? tr("Failed to save the room!") : tr("Failed to save the template!")};
    // The editor may show another room by now; that one keeps its picture.
    if (sayPictureWrite(PictureWrite(result), texts) && name == QString::asprintf(m_owner.photo, room_id))
        iconItem->setIconName(name);
}
