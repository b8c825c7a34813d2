#pragma once

#include "material.h"

#include <QDateTimeEdit>

// The application's date filter: a dark field with a calendar popup.
class QtMaterialDateTimeEdit : public QDateTimeEdit
{
    Q_OBJECT

public:
    explicit QtMaterialDateTimeEdit(QWidget *parent = nullptr);
    ~QtMaterialDateTimeEdit() override;

    void setFontType(Material::FontType type);
    Material::FontType fontType() const;

private:
    Q_DISABLE_COPY(QtMaterialDateTimeEdit)

    Material::FontType m_fontType = Material::Body1;
};
