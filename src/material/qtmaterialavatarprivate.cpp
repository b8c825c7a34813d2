#include "qtmaterialavatarprivate.h"

QtMaterialAvatarPrivate::QtMaterialAvatarPrivate(QtMaterialAvatar *q)
    : q_ptr(q)
{
}

QtMaterialAvatarPrivate::~QtMaterialAvatarPrivate() = default;

void QtMaterialAvatarPrivate::init()
{
    Q_Q(QtMaterialAvatar);

    size = 40;
    type = QtMaterialAvatar::LetterAvatar;
    useThemeColors = true;

    QFont font(q->font());
    font.setPointSize(16);
    q->setFont(font);

    q->setSizePolicy(QSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding));
}
