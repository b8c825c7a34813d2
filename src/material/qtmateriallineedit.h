#pragma once

#include "material.h"

#include <QLineEdit>

// The application's text field: a dark, rounded field with white text.
class QtMaterialLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit QtMaterialLineEdit(QWidget *parent = nullptr);
    explicit QtMaterialLineEdit(const QString &text, QWidget *parent = nullptr);
    ~QtMaterialLineEdit() override;

    void setFontType(Material::FontType type);
    Material::FontType fontType() const;

private:
    Q_DISABLE_COPY(QtMaterialLineEdit)

    void init();

    Material::FontType m_fontType = Material::Body1;
};
