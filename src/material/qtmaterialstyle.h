#pragma once

#include "qtmaterialtheme.h"

#include <QCommonStyle>

class QtMaterialStylePrivate;

// The process-wide style of the toolkit: holds the current theme, registers the
// fonts and tells every widget when the theme changes.
class QtMaterialStyle : public QCommonStyle
{
    Q_OBJECT

public:
    static QtMaterialStyle &instance();

    ~QtMaterialStyle() override;

    void setTheme(QtMaterialTheme *theme);
    QtMaterialTheme *theme() const;

    const QColor &themeColor(Material::ThemeColor color) const;
    const QFont &themeFont(Material::FontType type) const;

signals:
    void themeChanged();

private:
    QtMaterialStyle();
    Q_DISABLE_COPY(QtMaterialStyle)

    void applyThemeModifications();

    QtMaterialStylePrivate *const d;
};
