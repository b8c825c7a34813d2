#pragma once

#include "material.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QObject>
#include <QString>

class QtMaterialThemePrivate;

// One set of colour slots and font roles for the whole toolkit, with the fixed
// palette and the rule that maps an icon category and name to a resource path.
class QtMaterialTheme : public QObject
{
    Q_OBJECT

public:
    explicit QtMaterialTheme(QObject *parent = nullptr);
    ~QtMaterialTheme() override;

    void setFont(Material::FontType type, const QFont &font);
    const QFont &font(Material::FontType type) const;

    void setColor(Material::ThemeColor color, const QColor &value);
    void setColor(Material::ThemeColor color, Material::Color value);
    const QColor &color(Material::ThemeColor color) const;

    static const QColor &color(Material::Color color);

    // Registers the toolkit's icon resources once; safe to call any number of times.
    // Needed where the toolkit comes from a static library whose resource objects
    // nothing else references.
    static void registerResources();

    static QString iconPath(const QString &category, const QString &name);
    static QIcon icon(const QString &category, const QString &name);

private:
    Q_DISABLE_COPY(QtMaterialTheme)
    QtMaterialThemePrivate *const d;
};
