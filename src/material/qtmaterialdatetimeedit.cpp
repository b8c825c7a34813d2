#include "qtmaterialdatetimeedit.h"
#include "qtmaterialstyle.h"

#include <QCalendarWidget>

QtMaterialDateTimeEdit::QtMaterialDateTimeEdit(QWidget *parent)
    : QDateTimeEdit(parent)
{
    m_fontType = Material::Body1;
    setCalendarPopup(true);
    setStyleSheet(QStringLiteral(
        "QDateTimeEdit{background-color: #263440;border: 1px solid lightGray;height:30px;"
        "border-radius: 5px;color: white;}"));
    setFont(QtMaterialStyle::instance().themeFont(Material::Body1));

    // Days in lime green on the dark field; the selected day only in white.
    calendarWidget()->setStyleSheet(QStringLiteral(
        "QCalendarWidget{background-color:#263440;border: 1px solid lightGray;}"
        "QCalendarWidget QAbstractItemView:enabled{color:#ABD265;"
        "background-color:#263440;selection-color: white;"
        "selection-background-color:#263440;}"));
}

QtMaterialDateTimeEdit::~QtMaterialDateTimeEdit() = default;

void QtMaterialDateTimeEdit::setFontType(Material::FontType type)
{
    m_fontType = type;
    setFont(QtMaterialStyle::instance().themeFont(type));
}

Material::FontType QtMaterialDateTimeEdit::fontType() const
{
    return m_fontType;
}
