#include "qtmateriallineedit.h"
#include "qtmaterialstyle.h"

QtMaterialLineEdit::QtMaterialLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    init();
}

QtMaterialLineEdit::QtMaterialLineEdit(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
    init();
}

QtMaterialLineEdit::~QtMaterialLineEdit() = default;

void QtMaterialLineEdit::init()
{
    m_fontType = Material::Body1;
    setStyleSheet(QStringLiteral(
        "QLineEdit{background-color: #263440;border: 1px solid lightGray;height:30px;"
        "border-radius: 5px;color: white;}"
        "QLineEdit:hover{background-color: #557FA3;}"
        "QLineEdit:focus{background-color: #263440;}"));
    setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
}

void QtMaterialLineEdit::setFontType(Material::FontType type)
{
    m_fontType = type;
    setFont(QtMaterialStyle::instance().themeFont(type));
}

Material::FontType QtMaterialLineEdit::fontType() const
{
    return m_fontType;
}
