#include "pagesetting3dviewmanageredit.h"

#include "bus/broadcastsocket.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "shell/projectpicture.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"
#include "store/safesave.h"
#include "view3d/pagesetting3dviewmanagerac.h"
#include "view3d/pagesetting3dviewmanagerfloorheat.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"
#include "view3d/view3drows.h"

#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QPixmap>
#include <QSaveFile>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

#include <cstdio>

namespace {

QString photoName(int room)
{
    return QString::asprintf("photo_3dView_%d", room);
}

} // namespace

PageSetting3DViewManagerEdit::PageSetting3DViewManagerEdit(const QString &id, const QString &name,
                                                           QWidget *parent)
    : MyDialog(id, name, parent)
{
    setObjectName(QStringLiteral("PageSetting3DViewManagerEdit"));
    tabs = new QtMaterialTabs(this);
    labelImage = new QtMaterialLabel(QString(), this);
    labelImage->setFixedSize(36, 36);
    labelImage->setScaledContents(true);
    labelImage->setPixmap(QPixmap(QStringLiteral(":/myImages/png/icon-system-edit.png")));
    labelImage->setToolTip(tr("Change Image"));
    labelImage->installEventFilter(this);
    pageLighting = new PageSetting3DViewManagerLighting(this);
    pageAC = new PageSetting3DViewManagerAC(this);
    pageAC->hide();
    pageFloorHeat = new PageSetting3DViewManagerFloorHeat(this);
    writer = new PictureWriter(this);
    connect(writer, &PictureWriter::finished, this,
            [this](PictureWrite result, const QString &name) { photoWritten(int(result), name); });
    pageFloorHeat->hide();

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setSpacing(20);
    layout->addWidget(labelImage, 0, 0, Qt::AlignRight);
    layout->addWidget(pageLighting, 1, 0);
    layout->addWidget(pageAC, 1, 0);
    layout->addWidget(pageFloorHeat, 1, 0);
    layout->addWidget(tabs, 2, 0);
    layout->setRowStretch(1, 1);

    connect(tabs, &QtMaterialTabs::currentChanged, this, &PageSetting3DViewManagerEdit::currentChanged);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            [this](const QString &room, const QString &) { slotsPageEnter(room); });
}

QList<PageSetting3DViewManagerEdit::TabKind> PageSetting3DViewManagerEdit::tabKinds() const
{
    return {
        {tr("Lighting"), QStringLiteral(":/myImages/png/edit_room/icon-room-lighting.png"), pageLighting,
         "select id from tbl_light where room_id=%d and (rgb=0 or rgb=1)"},
        {tr("AC"), QStringLiteral(":/myImages/png/edit_room/icon-room-ac.png"), pageAC,
         "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no<=1 "
         "order by air_conditioner_no asc"},
        {tr("Floor Heat"), QStringLiteral(":/myImages/png/edit_room/icon-room-floorheat.png"), pageFloorHeat,
         "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no>1 "
         "order by air_conditioner_no asc"},
    };
}

void PageSetting3DViewManagerEdit::slotsPageEnter(QString room)
{
    if (!isVisible())
        return;
    roomId = room.toInt();
    // The room's photo, if a change cut short left only its copy, is back before it shows.
    QString project;
    getCurrentProject(project);
    const QString folder = projectFolder(project);
    if (!folder.isEmpty())
        settleKeptPicture(folder + QLatin1Char('/') + photoName(roomId) + QStringLiteral(".png"));
    tabs->clear();
    // The positions the room's devices lack are stored for all three canvases, or
    // for none.
    bool said = false;
    const bool read = runInTransaction([&] {
        bool whole = true;
        for (const TabKind &kind : tabKinds()) {
            bool found = false;
            if (whole)
                found = isRecordExist(QString::asprintf(kind.query, roomId), &whole);
            if (whole && found) {
                tabs->addTab(kind.icon, kind.title);
                whole = kind.canvas->updatelist(roomId);
                said = !whole;
            } else {
                kind.canvas->hide();
            }
        }
        return whole;
    });
    if (!read) {
        // No canvas of a room read in part: nothing is dropped on a position not stored.
        tabs->clear();
        for (const TabKind &kind : tabKinds())
            kind.canvas->hide();
        if (!said)
            emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
    }
    if (tabs->count() > 0)
        tabs->setCurrentIndex(0);
    tabs->setVisible(tabs->count() > 0);
}

void PageSetting3DViewManagerEdit::currentChanged(int index)
{
    const QString text = tabs->tabText(index);
    for (const TabKind &kind : tabKinds())
        kind.canvas->setVisible(text == kind.title);
}

void PageSetting3DViewManagerEdit::setIconName(const QString &name)
{
    pageLighting->setIconName(name);
    pageAC->setIconName(name);
    pageFloorHeat->setIconName(name);
}

bool PageSetting3DViewManagerEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == labelImage && event->type() == QEvent::MouseButtonPress)
        changeImage();
    return MyDialog::eventFilter(watched, event);
}

void PageSetting3DViewManagerEdit::changeImage()
{
    if (writer->isBusy())
        return;
    // Framed dialogs are windows of their own: made without a parent.
    IconStyleDlg source;
    if (!source.exec())
        return;
    if (source.style == 1) {
        choosePhoto();
        return;
    }
    IconSelectDlg picker;
    picker.family = 2;
    picker.initDlgCtrl();
    if (!picker.exec() || picker.iconName.isEmpty())
        return;
    showStoredPicture(picker.iconName);
}

void PageSetting3DViewManagerEdit::choosePhoto()
{
    const QString file =
        askOpenFileName(this, tr("Open"), QString(), tr("Image Files(*.bmp *.png *.gif *.jpg)"));
    if (file.isEmpty())
        return;
    QString project;
    getCurrentProject(project);
    const QString folder = projectFolder(project);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        emit gl_socket.signalsInformation(
            tr("Lose the dir named %1,please reboot the application!").arg(project));
        return;
    }
    const int room = roomId;
    const QString name = photoName(room);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    photoSource = file;
    writer->start(file, name, [this, room, name, path](QSaveFile &out) {
        return placePhoto(room, name, path, out) ? PictureWrite::Written : PictureWrite::NotStored;
    });
}

void PageSetting3DViewManagerEdit::photoWritten(int result, const QString &name)
{
    // Placing the file says what failed itself (NotStored).
    const PictureWriteTexts texts{
        tr("Lose the dir named %1,please reboot the application!").arg(currentProjectName()),
        tr("Can not read the image %1!").arg(QDir::toNativeSeparators(photoSource)),
        tr("Can not save the image %1!")
            .arg(QDir::toNativeSeparators(currentProjectFolder() + QLatin1Char('/') + name +
                                          QStringLiteral(".png"))),
        QString()};
    // The page may show another room by now; that one keeps its picture.
    if (sayPictureWrite(PictureWrite(result), texts) && name == photoName(roomId))
        setIconName(name);
}

bool PageSetting3DViewManagerEdit::placePhoto(int room, const QString &name, const QString &path,
                                              QSaveFile &out)
{
    // The new photo replaces the room's file only once its name is stored, so a
    // refused store leaves the earlier photo and its name as they were.
    const PictureWrite placed =
        placeWithRow(out, [room, &name] { return storeRoomPictureName(room, name); });
    if (placed == PictureWrite::Unwritable)
        emit gl_socket.signalsInformation(
            tr("Can not save the image %1!").arg(QDir::toNativeSeparators(path)));
    else if (placed != PictureWrite::Written)
        emit gl_socket.signalsInformation(tr("Failed to save the picture!"));
    return placed == PictureWrite::Written;
}

void PageSetting3DViewManagerEdit::showStoredPicture(const QString &name)
{
    // The canvases keep the stored picture when the new name is not stored.
    if (!storeRoomPictureName(roomId, name)) {
        emit gl_socket.signalsInformation(tr("Failed to save the picture!"));
        return;
    }
    setIconName(name);
}
