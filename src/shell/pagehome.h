#pragma once

// The home page ("Home"): the band of rooms on top and, below it, the four large
// tiles that lead to the pages operating all lights, air conditioners, floor
// heating and moods of the project.

#include "shell/mydialog.h"

class HomeManagerItem;
class QGridLayout;

class PageHome : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int LargeTileSize = 192;
    static constexpr int LargeTilePicture = 128;

    PageHome(const QString &id, const QString &name, QWidget *parent = nullptr);

    HomeManagerItem *managerItem() const { return homeManagerItem; }
    QGridLayout *largeTileGrid() const { return tileGrid; }

public slots:
    void slotsPageEnter();

private:
    QGridLayout *preInit();

    HomeManagerItem *homeManagerItem;
    QGridLayout *tileGrid = nullptr;
};
