#pragma once

// The settings hub ("Setting"): eight large tiles, each opening one settings page.
// Built once; it shows no data and never changes.

#include "shell/mydialog.h"

class QGridLayout;
class QtMaterialGroupBox;

class PageSetting : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileSize = 256;

    PageSetting(const QString &id, const QString &name, QWidget *parent = nullptr);

    QGridLayout *tileGrid() const { return grid; }

private:
    void preInit();

    QtMaterialGroupBox *groupBox = nullptr;
    QGridLayout *grid = nullptr;
};
