#pragma once

#include <QColor>
#include <QIcon>
#include <QList>

class QtMaterialButtonList;
class QtMaterialFlatButton;

// Data of a button list: its buttons in display order and its own colours.
class QtMaterialButtonListPrivate
{
    Q_DISABLE_COPY(QtMaterialButtonListPrivate)
    Q_DECLARE_PUBLIC(QtMaterialButtonList)

public:
    static constexpr int RowHeight = 50;

    explicit QtMaterialButtonListPrivate(QtMaterialButtonList *q);
    ~QtMaterialButtonListPrivate();

    QtMaterialFlatButton *createButton(const QIcon &icon, const QString &text);

    QtMaterialButtonList *const q_ptr;
    QList<QtMaterialFlatButton *> buttons;
    bool useThemeColors = true;
    QColor foregroundColor;
    QColor backgroundColor;
};
