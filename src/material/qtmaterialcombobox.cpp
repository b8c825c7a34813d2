#include "qtmaterialcombobox.h"
#include "qtmaterialstyle.h"

#include <QLineEdit>
#include <QListView>

QtMaterialComboBox::QtMaterialComboBox(QWidget *parent)
    : QComboBox(parent)
{
    m_fontType = Material::Body1;

    setStyleSheet(QStringLiteral(
        "QComboBox{background-color: #263440;border: 1px solid #ffffff;height:30px;"
        "border-radius: 5px;color: white;outline:none;}"
        "QComboBox:hover{background-color: #557FA3;}"
        "QComboBox QAbstractScrollArea QScrollBar:vertical {width: 10px;"
        "background-color: #263440;}"
        "QComboBox QAbstractItemView{background-color: #263440;"
        "selection-background-color: #557FA3;border: 1px solid #ffffff;border-radius: 5px;"
        "color: #ffffff;outline:none;}"
        "QComboBox QAbstractItemView::item{background-color: #1F2933;color: #ffffff;"
        "height: 30px;border-radius: 5px;outline:none;}"
        "QComboBox QAbstractItemView::item:selected{background-color: #557FA3;"
        "color:#ffffff;}"
        "QComboBox QAbstractItemView::item:hover{background-color: #557FA3;color:#ffffff;}"));

    const QFont font = QtMaterialStyle::instance().themeFont(Material::Body1);
    setFont(font);

    // Editable from the start; the box takes ownership of the edit and the list.
    auto *edit = new QLineEdit;
    edit->setFont(font);
    setLineEdit(edit);

    auto *list = new QListView;
    list->setFont(font);
    setView(list);
}

QtMaterialComboBox::~QtMaterialComboBox() = default;

void QtMaterialComboBox::setFontType(Material::FontType type)
{
    m_fontType = type;
    setFont(QtMaterialStyle::instance().themeFont(type));
}

Material::FontType QtMaterialComboBox::fontType() const
{
    return m_fontType;
}
