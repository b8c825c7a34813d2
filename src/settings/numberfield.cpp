#include "numberfield.h"

#include <QIntValidator>
#include <QLineEdit>

#include <climits>

void makeNumberField(QLineEdit *field)
{
    field->setValidator(new QIntValidator(0, INT_MAX, field));
}

QString capNumberText(const QString &text, int cap)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok)
        return text;
    if (value > cap)
        return QString::number(cap);
    if (value < 0)
        return QStringLiteral("0");
    return text;
}
