#pragma once

#include "material.h"

#include <QColor>
#include <QGroupBox>
#include <QScopedPointer>

class QtMaterialGroupBoxPrivate;

// A group box whose title takes a theme font and colour.
class QtMaterialGroupBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit QtMaterialGroupBox(QWidget *parent = nullptr);
    explicit QtMaterialGroupBox(const QString &title, QWidget *parent = nullptr);
    QtMaterialGroupBox(const QString &title, Material::FontType type, QWidget *parent = nullptr);
    ~QtMaterialGroupBox() override;

    void setFontType(Material::FontType type);
    Material::FontType fontType() const;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setColor(const QColor &color);
    QColor color() const;

protected:
    bool event(QEvent *event) override;

    const QScopedPointer<QtMaterialGroupBoxPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialGroupBox)
    Q_DECLARE_PRIVATE(QtMaterialGroupBox)
};
