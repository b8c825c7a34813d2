#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QColor>
#include <QIcon>
#include <QScopedPointer>

class QtMaterialBadgePrivate;

// A small filled disc with a short text ("+1" at first) or a 16-pixel icon, laid
// over its parent at an offset from the parent's centre. It never takes the mouse.
class QtMaterialBadge : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(QString text WRITE setText READ text)
    Q_PROPERTY(QIcon icon WRITE setIcon READ icon)
    Q_PROPERTY(QColor textColor WRITE setTextColor READ textColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)
    Q_PROPERTY(QPointF relativePosition WRITE setRelativePosition READ relativePosition)

public:
    explicit QtMaterialBadge(QWidget *parent = nullptr);
    QtMaterialBadge(const QIcon &icon, QWidget *parent = nullptr);
    QtMaterialBadge(const QString &text, QWidget *parent = nullptr);
    ~QtMaterialBadge() override;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setTextColor(const QColor &color);
    QColor textColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    void setRelativePosition(const QPointF &pos);
    void setRelativePosition(qreal x, qreal y);
    QPointF relativePosition() const;

    void setIcon(const QIcon &icon);
    QIcon icon() const;

    void setText(const QString &text);
    QString text() const;

    QSize sizeHint() const override;

    // Diameter of the disc: 24 with an icon, else the text's larger side plus the margin.
    int getDiameter() const;

protected:
    void paintEvent(QPaintEvent *event) override;

    const QScopedPointer<QtMaterialBadgePrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialBadge)
    Q_DECLARE_PRIVATE(QtMaterialBadge)
};
