#pragma once

// A round choice tile that shows one air-conditioner mode (kind 0) or one fan
// speed (kind 1) as a picture, optionally with a caption under it, and reports
// its value when pressed. Values: modes 0 cool, 1 heat, 2 fan, 3 auto; fan
// speeds 0 auto, 1 high, 2 medium, 3 low; any other value shows the picture of 0.

#include "shell/dynamicwidget.h"

#include <QString>

class ModeSpeedItem : public DynamicWidget
{
    Q_OBJECT
public:
    static constexpr int Size = 80;

    ModeSpeedItem(int kind, int value, QString caption, QWidget *parent = nullptr);

    void setValue(int value);
    int getValue() const { return value; }
    int getKind() const { return kind; }
    QString getCaption() const { return caption; }

    // The picture of a kind and value.
    static QString picturePath(int kind, int value);
    // The square the picture is drawn into on a tile of width w and height h.
    static QRect pictureRect(int w, int h, bool withCaption);

signals:
    void signalsEdit(int value);

private slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int kind;
    int value;
    QString caption;
};
