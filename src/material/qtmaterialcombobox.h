#pragma once

#include "material.h"

#include <QComboBox>

// The application's drop-down list: editable, dark and rounded, with a dark
// popup list whose items light up when selected or hovered.
class QtMaterialComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit QtMaterialComboBox(QWidget *parent = nullptr);
    ~QtMaterialComboBox() override;

    // Changes the box's own font only; its line edit and list keep theirs.
    void setFontType(Material::FontType type);
    Material::FontType fontType() const;

private:
    Q_DISABLE_COPY(QtMaterialComboBox)

    Material::FontType m_fontType = Material::Body1;
};
