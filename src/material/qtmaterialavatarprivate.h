#pragma once

#include "qtmaterialavatar.h"

#include <QChar>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// Data and set-up of an avatar.
class QtMaterialAvatarPrivate
{
    Q_DISABLE_COPY(QtMaterialAvatarPrivate)
    Q_DECLARE_PUBLIC(QtMaterialAvatar)

public:
    explicit QtMaterialAvatarPrivate(QtMaterialAvatar *q);
    ~QtMaterialAvatarPrivate();

    void init();

    QtMaterialAvatar *const q_ptr;
    int size = 40;
    QtMaterialAvatar::AvatarType type = QtMaterialAvatar::LetterAvatar;
    QChar letter;
    QImage image;
    QIcon icon;
    // The image scaled to size by size.
    QPixmap pixmap;
    bool useThemeColors = true;
    QColor textColor;
    QColor backgroundColor;
};
