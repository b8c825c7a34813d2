#include "qtmaterialtabs.h"
#include "qtmaterialgroupbox.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtab.h"
#include "qtmaterialtabsprivate.h"

#include <QGridLayout>
#include <QPointer>

namespace {

const QColor kBarColor(0x1F, 0x29, 0x33);

} // namespace

QtMaterialTabs::QtMaterialTabs(QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialTabsPrivate(this))
{
    d_func()->init();
}

QtMaterialTabs::~QtMaterialTabs() = default;

void QtMaterialTabs::setUseThemeColors(bool value)
{
    Q_D(QtMaterialTabs);
    d->useThemeColors = value;
    updateTabs();
    update();
}

bool QtMaterialTabs::useThemeColors() const
{
    Q_D(const QtMaterialTabs);
    return d->useThemeColors;
}

void QtMaterialTabs::setHaloVisible(bool value)
{
    Q_D(QtMaterialTabs);
    d->haloVisible = value;
    updateTabs();
}

bool QtMaterialTabs::isHaloVisible() const
{
    Q_D(const QtMaterialTabs);
    return d->haloVisible;
}

void QtMaterialTabs::setRippleStyle(Material::RippleStyle style)
{
    Q_D(QtMaterialTabs);
    d->rippleStyle = style;
    updateTabs();
}

Material::RippleStyle QtMaterialTabs::rippleStyle() const
{
    Q_D(const QtMaterialTabs);
    return d->rippleStyle;
}

void QtMaterialTabs::setIconSize(const QSize &size)
{
    Q_D(QtMaterialTabs);
    d->iconSize = size;
    updateTabs();
}

void QtMaterialTabs::setIconSize(int width, int height)
{
    setIconSize(QSize(width, height));
}

QSize QtMaterialTabs::iconSize() const
{
    Q_D(const QtMaterialTabs);
    return d->iconSize;
}

void QtMaterialTabs::setInkColor(const QColor &color)
{
    Q_D(QtMaterialTabs);
    d->inkColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialTabs::inkColor() const
{
    Q_D(const QtMaterialTabs);

    if (!d->useThemeColors && d->inkColor.isValid())
        return d->inkColor;
    return QtMaterialStyle::instance().themeColor(Material::AccentColor);
}

void QtMaterialTabs::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialTabs);
    d->backgroundColor = color;
    d->useThemeColors = false;
    updateTabs();
    update();
}

QColor QtMaterialTabs::backgroundColor() const
{
    Q_D(const QtMaterialTabs);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return kBarColor;
}

void QtMaterialTabs::setTextColor(const QColor &color)
{
    Q_D(QtMaterialTabs);
    d->textColor = color;
    d->useThemeColors = false;
    updateTabs();
    update();
}

QColor QtMaterialTabs::textColor() const
{
    Q_D(const QtMaterialTabs);

    if (!d->useThemeColors && d->textColor.isValid())
        return d->textColor;
    return QtMaterialStyle::instance().themeColor(Material::CanvasColor);
}

void QtMaterialTabs::addTab(const QString &iconPath, const QString &text)
{
    addTab(QIcon(iconPath), text, iconPath);
}

void QtMaterialTabs::addTab(const QString &text)
{
    addTab(QIcon(), text, QString());
}

void QtMaterialTabs::addTab(const QIcon &icon, const QString &text, QString imagePath)
{
    Q_D(QtMaterialTabs);

    auto *tab = new QtMaterialTab(this);
    tab->setText(text);
    tab->setHaloVisible(d->haloVisible);
    tab->setRippleStyle(d->rippleStyle);
    tab->setBackgroundColor(backgroundColor());

    if (!icon.isNull()) {
        tab->setIcon(icon);
        tab->setIconSize(d->iconSize);
        if (!imagePath.isEmpty())
            tab->setImagePath(imagePath);
    }

    auto *grid = qobject_cast<QGridLayout *>(d->tabBox->layout());
    const bool newLayout = !grid;
    if (newLayout) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setSpacing(0);
        grid->setContentsMargins(0, 0, 0, 0);
    }

    // The tabs keep their own widths from the left; the empty column after the
    // last one takes the rest of the row.
    grid->setColumnStretch(d->tabCount, 0);
    grid->addWidget(tab, 0, d->tabCount);
    ++d->tabCount;
    grid->setColumnStretch(d->tabCount, 1);

    QPointer<QtMaterialTab> guard(tab);
    connect(tab, &QAbstractButton::clicked, this, [this, guard](bool) {
        Q_D(QtMaterialTabs);
        if (guard && d->tabBox->layout())
            setCurrentIndex(d->tabBox->layout()->indexOf(guard));
    });

    if (newLayout)
        d->tabBox->setLayout(grid);

    if (d->currentIndex == -1) {
        d->currentIndex = 0;
        tab->setActive(true);
    }
}

void QtMaterialTabs::setCurrentIndex(int index)
{
    Q_D(QtMaterialTabs);

    if (d->currentIndex >= 0) {
        if (QtMaterialTab *tab = d->tabAt(d->currentIndex))
            tab->setActive(false);
    }
    d->currentIndex = index;
    if (QtMaterialTab *tab = d->tabAt(index))
        tab->setActive(true);
    emit currentChanged(index);
}

int QtMaterialTabs::currentIndex() const
{
    Q_D(const QtMaterialTabs);
    return d->currentIndex;
}

void QtMaterialTabs::setTabActive(int index, bool active)
{
    Q_D(QtMaterialTabs);

    if (QtMaterialTab *tab = d->tabAt(index))
        tab->setActive(active);
}

int QtMaterialTabs::count() const
{
    Q_D(const QtMaterialTabs);

    const QLayout *layout = d->tabBox->layout();
    return layout ? layout->count() : 0;
}

QString QtMaterialTabs::tabText(int index) const
{
    Q_D(const QtMaterialTabs);

    const QtMaterialTab *tab = d->tabAt(index);
    return tab ? tab->text() : QString();
}

void QtMaterialTabs::setTabText(int index, const QString &text)
{
    Q_D(QtMaterialTabs);

    if (QtMaterialTab *tab = d->tabAt(index))
        tab->setText(text);
}

QIcon QtMaterialTabs::tabIcon(int index) const
{
    Q_D(const QtMaterialTabs);

    const QtMaterialTab *tab = d->tabAt(index);
    return tab ? tab->icon() : QIcon();
}

void QtMaterialTabs::setTabIcon(int index, const QIcon &icon)
{
    Q_D(QtMaterialTabs);

    if (QtMaterialTab *tab = d->tabAt(index))
        tab->setIcon(icon);
}

void QtMaterialTabs::clear()
{
    Q_D(QtMaterialTabs);

    d->tabCount = 0;
    QLayout *layout = d->tabBox->layout();
    if (!layout)
        return;

    const QList<QtMaterialTab *> tabs = d->tabBox->findChildren<QtMaterialTab *>();
    for (QtMaterialTab *tab : tabs) {
        layout->removeWidget(tab);
        // Out of sight at once; the object goes from the event loop.
        tab->hide();
        tab->deleteLater();
    }
}

void QtMaterialTabs::updateTabs()
{
    Q_D(QtMaterialTabs);

    QLayout *layout = d->tabBox->layout();
    if (!layout)
        return;

    for (int i = 0; i < layout->count(); ++i) {
        QtMaterialTab *tab = d->tabAt(i);
        if (!tab)
            continue;
        tab->setRippleStyle(d->rippleStyle);
        tab->setHaloVisible(d->haloVisible);
        if (!d->useThemeColors) {
            tab->setBackgroundColor(backgroundColor());
            tab->setForegroundColor(textColor());
        } else {
            tab->setUseThemeColors(true);
        }
        tab->setIconSize(d->iconSize);
    }
}
