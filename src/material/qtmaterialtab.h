#pragma once

#include "qtmaterialflatbutton.h"

#include <QImage>
#include <QString>

class QtMaterialTabs;

// One tab of a tab bar: a picture above its text, an underline when current, and
// dimmed when not.
class QtMaterialTab : public QtMaterialFlatButton
{
    Q_OBJECT

public:
    explicit QtMaterialTab(QtMaterialTabs *parent);
    ~QtMaterialTab() override;

    QtMaterialTabs *tabs() const { return m_tabs; }

    void setActive(bool active);
    bool isActive() const { return m_active; }

    // A picture file drawn in its own colours instead of the tinted icon.
    void setImagePath(const QString &path);
    QString imagePath() const { return m_imagePath; }
    bool hasImage() const { return m_hasImage; }

    QSize sizeHint() const override;

protected:
    void paintForeground(QPainter *painter) override;

private:
    Q_DISABLE_COPY(QtMaterialTab)

    QtMaterialTabs *const m_tabs;
    bool m_active = false;
    QString m_imagePath;
    bool m_hasImage = false;
    // The picture, read once instead of on every repaint.
    QImage m_image;
};
