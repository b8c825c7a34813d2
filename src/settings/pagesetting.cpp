#include "pagesetting.h"

#include "shell/framedialog.h"
#include "shell/settingitem.h"
#include "shell/tilegrid.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageSetting::PageSetting(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSetting"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    groupBox = fillWithCanvasBox(this);

    preInit();
}

void PageSetting::preInit()
{
    struct Tile
    {
        const char *id;
        const char *image;
    };
    static const Tile tiles[] = {
        {QT_TR_NOOP("Project Setting"),
         QT_TR_NOOP(":/myImages/png/settings/icon-settings-projectsettings.png")},
        {QT_TR_NOOP("Room Template"), QT_TR_NOOP(":/myImages/png/settings/icon-settings-roomtemplate.png")},
        {QT_TR_NOOP("Rooms Manager"), QT_TR_NOOP(":/myImages/png/settings/icon-settings-roomsmanager.png")},
        {QT_TR_NOOP("Message Manager"),
         QT_TR_NOOP(":/myImages/png/settings/icon-settings-messagemanager.png")},
        {QT_TR_NOOP("Change Device Address"),
         QT_TR_NOOP(":/myImages/png/settings/icon-settings-deviceaddress.png")},
        {QT_TR_NOOP("Network Setting"),
         QT_TR_NOOP(":/myImages/png/settings/icon-settings-networksetting.png")},
        {QT_TR_NOOP("3D View Manager"), QT_TR_NOOP(":/myImages/png/settings/icon-settings-3dview.png")},
        {QT_TR_NOOP("About"), QT_TR_NOOP(":/myImages/png/settings/icon-settings-about.png")},
    };

    // Columns: the most tiles that fit strictly inside the screen width, never none.
    const int columns = tileGridColumns(screen_cx, 0, TileSize);
    grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setHorizontalSpacing(tileGridSpacing(screen_cx, 0, TileSize, columns));
    grid->setVerticalSpacing(20);

    int placed = 0;
    for (const Tile &tile : tiles) {
        const QLatin1String id(tile.id);
        const int image = id == QLatin1String("3D View Manager") ? 160 : 128;
        auto *item = new SettingItem(tr(tile.id), tr(tile.image), image, image, TileSize, TileSize, nullptr);
        // The request names the page by its id, whatever language the title is in.
        item->setPageId(id);
        grid->addWidget(item, tileGridRow(placed, columns), tileGridColumn(placed, columns));
        ++placed;
    }
    setTileGridStretch(grid, placed, columns);
    groupBox->setLayout(grid);
}
