#include "qtmaterialstyle.h"
#include "qtmaterialstyleprivate.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QWidget>

namespace {

// The fonts the toolkit registers: its own resource names first; where the
// application carries no such resource, the matching file of the system's Roboto
// package is registered instead.
struct FontSource
{
    const char *resource;
    const char *systemFile;
};

const FontSource kFontSources[] = {
    {":/myFiles/fonts/roboto_regular",
     "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf"},
    {":/myFiles/fonts/roboto_medium",
     "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Medium.ttf"},
    {":/myFiles/fonts/roboto_bold",
     "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Bold.ttf"},
};

void registerFonts()
{
    for (const FontSource &source : kFontSources) {
        const QString resource = QString::fromLatin1(source.resource);
        const QString file = QString::fromLatin1(source.systemFile);
        if (QFile::exists(resource))
            QFontDatabase::addApplicationFont(resource);
        else if (QFile::exists(file))
            QFontDatabase::addApplicationFont(file);
    }
}

} // namespace

QtMaterialStyle &QtMaterialStyle::instance()
{
    static QtMaterialStyle style;
    return style;
}

QtMaterialStyle::QtMaterialStyle()
    : QCommonStyle(), d(new QtMaterialStylePrivate(this))
{
    QtMaterialTheme::registerResources();
    registerFonts();
    // The first theme is set without telling the widgets: a widget whose style
    // handler asked for the style again would wait on this very construction.
    d->theme = new QtMaterialTheme;
    d->theme->setParent(this);
}

QtMaterialStyle::~QtMaterialStyle()
{
    delete d;
}

void QtMaterialStyle::setTheme(QtMaterialTheme *theme)
{
    if (!theme)
        return;
    QtMaterialTheme *previous = d->theme;
    d->theme = theme;
    theme->setParent(this);
    applyThemeModifications();
    if (previous && previous != theme)
        previous->deleteLater();
}

QtMaterialTheme *QtMaterialStyle::theme() const
{
    return d->theme;
}

const QColor &QtMaterialStyle::themeColor(Material::ThemeColor color) const
{
    return d->theme->color(color);
}

const QFont &QtMaterialStyle::themeFont(Material::FontType type) const
{
    return d->theme->font(type);
}

void QtMaterialStyle::applyThemeModifications()
{
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->windowType() == Qt::Desktop || widget->testAttribute(Qt::WA_SetStyle))
            continue;
        QEvent event(QEvent::StyleChange);
        QCoreApplication::sendEvent(widget, &event);
    }
    emit themeChanged();
}
