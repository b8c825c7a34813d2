#include "qtmaterialbuttonlist.h"
#include "qtmaterialbuttonlistprivate.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialstyle.h"

#include <QResizeEvent>

QtMaterialButtonList::QtMaterialButtonList(QWidget *parent)
    : QWidget(parent), d_ptr(new QtMaterialButtonListPrivate(this))
{
}

QtMaterialButtonList::~QtMaterialButtonList() = default;

void QtMaterialButtonList::addButton(const QString &text)
{
    addButton(QIcon(), text);
}

void QtMaterialButtonList::addButton(const QIcon &icon, const QString &text)
{
    Q_D(QtMaterialButtonList);
    d->buttons.append(d->createButton(icon, text));
    updateGeometry();
}

void QtMaterialButtonList::insertButton(int index, const QString &text)
{
    insertButton(index, QIcon(), text);
}

void QtMaterialButtonList::insertButton(int index, const QIcon &icon, const QString &text)
{
    Q_D(QtMaterialButtonList);
    d->buttons.insert(qBound(0, index, d->buttons.size()), d->createButton(icon, text));
    updateGeometry();
}

QString QtMaterialButtonList::buttonText(int index) const
{
    Q_D(const QtMaterialButtonList);
    Q_ASSERT(index >= 0 && index < d->buttons.size());
    return d->buttons.at(index)->text();
}

void QtMaterialButtonList::setButtonText(int index, const QString &text)
{
    Q_D(QtMaterialButtonList);
    Q_ASSERT(index >= 0 && index < d->buttons.size());
    d->buttons.at(index)->setText(text);
}

QIcon QtMaterialButtonList::buttonIcon(int index) const
{
    Q_D(const QtMaterialButtonList);
    Q_ASSERT(index >= 0 && index < d->buttons.size());
    return d->buttons.at(index)->icon();
}

void QtMaterialButtonList::setButtonIcon(int index, const QIcon &icon)
{
    Q_D(QtMaterialButtonList);
    Q_ASSERT(index >= 0 && index < d->buttons.size());
    d->buttons.at(index)->setIcon(icon);
}

int QtMaterialButtonList::count() const
{
    Q_D(const QtMaterialButtonList);
    return d->buttons.size();
}

void QtMaterialButtonList::setUseThemeColors(bool value)
{
    Q_D(QtMaterialButtonList);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
}

bool QtMaterialButtonList::useThemeColors() const
{
    Q_D(const QtMaterialButtonList);
    return d->useThemeColors;
}

void QtMaterialButtonList::setForegroundColor(const QColor &color)
{
    Q_D(QtMaterialButtonList);
    d->foregroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialButtonList::foregroundColor() const
{
    Q_D(const QtMaterialButtonList);
    if (!d->useThemeColors && d->foregroundColor.isValid())
        return d->foregroundColor;
    return QtMaterialStyle::instance().themeColor(Material::AlternateTextColor);
}

void QtMaterialButtonList::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialButtonList);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
}

QColor QtMaterialButtonList::backgroundColor() const
{
    Q_D(const QtMaterialButtonList);
    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return QtMaterialStyle::instance().themeColor(Material::PrimaryColor);
}

QSize QtMaterialButtonList::sizeHint() const
{
    Q_D(const QtMaterialButtonList);
    return QSize(-1, QtMaterialButtonListPrivate::RowHeight * d->buttons.size());
}

void QtMaterialButtonList::resizeEvent(QResizeEvent *event)
{
    Q_D(QtMaterialButtonList);

    const int width = event->size().width();
    for (int i = 0; i < d->buttons.size(); ++i) {
        d->buttons.at(i)->setGeometry(0, QtMaterialButtonListPrivate::RowHeight * i, width,
                                      QtMaterialButtonListPrivate::RowHeight);
    }
    QWidget::resizeEvent(event);
}
