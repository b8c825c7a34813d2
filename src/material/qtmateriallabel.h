#pragma once

#include "material.h"

#include <QColor>
#include <QLabel>
#include <QScopedPointer>

class QtMaterialLabelPrivate;

// The application's label: a theme font and colour, a ripple from its centre when
// pressed, and signalsPressed() for a press released inside it.
class QtMaterialLabel : public QLabel
{
    Q_OBJECT

public:
    explicit QtMaterialLabel(QWidget *parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());
    explicit QtMaterialLabel(const QString &text, QWidget *parent = nullptr,
                             Qt::WindowFlags f = Qt::WindowFlags());
    QtMaterialLabel(const QString &text, Material::FontType type, QWidget *parent = nullptr);
    ~QtMaterialLabel() override;

    void setFontType(Material::FontType type);
    Material::FontType fontType() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setColor(const QColor &color);
    QColor color() const;

    void setBackgroud(const QColor &color);

signals:
    void signalsPressed();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    const QScopedPointer<QtMaterialLabelPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialLabel)
    Q_DECLARE_PRIVATE(QtMaterialLabel)

    bool m_pressed = false;
};
