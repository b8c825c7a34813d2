#pragma once

// The built-in picture picker: a scrollable grid of picture tiles of one family;
// a press on a tile accepts the dialog with that picture's name in `iconName`.
// Calling order: construct, set `family`, initDlgCtrl(), exec().

#include "shell/mydialog.h"

#include <QString>

class QGridLayout;
class QtMaterialGroupBox;

class IconSelectDlg : public MyDialog
{
    Q_OBJECT
public:
    // One family of built-in pictures and the tiles that show it.
    struct Family
    {
        QString nameFormat; // "%1" stands for the picture's number
        int fieldWidth;     // digits of the number, zero-padded
        int first;
        int count;
        int tileKind;
        int tileWidth;
        int tileHeight;
    };
    static Family familyFor(int family);
    static QString pictureName(const Family &family, int number);

    explicit IconSelectDlg(QWidget *parent = nullptr);

    void initDlgCtrl();
    QGridLayout *tileGrid() const;
    QtMaterialGroupBox *tileBox() const { return groupBox; }

    QString iconName;
    int family = 1;

public slots:
    void slotsIconEdit(QString iconName);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialGroupBox *groupBox;
};
