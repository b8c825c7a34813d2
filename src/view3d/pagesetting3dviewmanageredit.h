#pragma once

// The "3D View Setting" page of one room (entered with the room id): the light,
// air-conditioner and floor-heating placement canvases in one place, a tab for
// each kind the room has, and the "Change Image" icon. The picture is either a
// built-in one ("3d_view_01" to "3d_view_08", stored without ".png") or a photo
// that is written as "photo_3dView_<room>.png" into the project folder; the name
// goes into the room's tbl_3d_view_manager row and to the canvases. A photo that
// cannot be read, written or named changes nothing and says so.

#include "shell/mydialog.h"

class PageSetting3DViewManagerAC;
class PageSetting3DViewManagerFloorHeat;
class PageSetting3DViewManagerLighting;
class PictureWriter;
class PlacementCanvas;
class QSaveFile;
class QtMaterialLabel;
class QtMaterialTabs;

class PageSetting3DViewManagerEdit : public MyDialog
{
    Q_OBJECT
public:
    PageSetting3DViewManagerEdit(const QString &id, const QString &name, QWidget *parent = nullptr);

    // Hands the picture name to the three canvases.
    void setIconName(const QString &name);

    PictureWriter *pictureWriter() const { return writer; }

    int getRoomId() const { return roomId; }
    QtMaterialTabs *tabBar() const { return tabs; }
    QtMaterialLabel *changeImageLabel() const { return labelImage; }
    PageSetting3DViewManagerLighting *lightingCanvas() const { return pageLighting; }
    PageSetting3DViewManagerAC *acCanvas() const { return pageAC; }
    PageSetting3DViewManagerFloorHeat *floorHeatCanvas() const { return pageFloorHeat; }

public slots:
    void slotsPageEnter(QString roomId);
    void currentChanged(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TabKind
    {
        QString title;
        QString icon;
        PlacementCanvas *canvas;
        const char *query;
    };
    QList<TabKind> tabKinds() const;
    void changeImage();
    void choosePhoto();
    void photoWritten(int result, const QString &name);
    // Stores the photo's name for room and puts the whole file out in place, in one
    // step: a failure leaves the earlier name and photo, and says so.
    bool placePhoto(int room, const QString &name, const QString &path, QSaveFile &out);
    // Stores the room's new picture name, then shows it; says so when not stored.
    void showStoredPicture(const QString &name);

    int roomId = 0;
    QtMaterialTabs *tabs = nullptr;
    QtMaterialLabel *labelImage = nullptr;
    PageSetting3DViewManagerLighting *pageLighting = nullptr;
    PageSetting3DViewManagerAC *pageAC = nullptr;
    PageSetting3DViewManagerFloorHeat *pageFloorHeat = nullptr;
    // Writes a photo from the gallery; no other picture is chosen meanwhile.
    PictureWriter *writer = nullptr;
    QString photoSource;
};
