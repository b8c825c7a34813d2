#include "fieldnumber.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <climits>

int fieldNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (ok)
        return value;
    static const QRegularExpression digits(QStringLiteral("^\\s*([+-]?)\\d+\\s*$"));
    const QRegularExpressionMatch match = digits.match(text);
    if (!match.hasMatch())
        return 0;
    return match.captured(1) == QLatin1String("-") ? INT_MIN : INT_MAX;
}

QString fieldTextWithin(const QString &text, int bound)
{
    if (fieldNumber(text) > bound)
        return QString::number(bound);
    return text;
}
