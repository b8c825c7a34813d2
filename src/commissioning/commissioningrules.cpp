#include "commissioningrules.h"

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

} // namespace

QString addressFieldText(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        return value >= 256 ? QStringLiteral("255") : text;
    // Too long for an int: a string of digits (with an optional "+") is simply large.
    const QString digits = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
    return allDigits(digits) ? QStringLiteral("255") : text;
}

int addressFieldValue(const QString &text)
{
    bool ok = false;
    const int value = addressFieldText(text).toInt(&ok);
    return ok && value >= 1 ? value : 0;
}

QString addToDecimalText(const QString &digits, int add)
{
    QString result;
    result.reserve(digits.size() + 11);
    long long carry = add < 0 ? 0 : add;
    for (int i = digits.size() - 1; i >= 0; --i) {
        const long long sum = (digits.at(i).unicode() - '0') + carry;
        result.prepend(QChar(static_cast<char16_t>('0' + sum % 10)));
        carry = sum / 10;
    }
    while (carry > 0) {
        result.prepend(QChar(static_cast<char16_t>('0' + carry % 10)));
        carry /= 10;
    }
    int lead = 0;
    while (lead < result.size() - 1 && result.at(lead) == QLatin1Char('0'))
        ++lead;
    return result.isEmpty() ? QStringLiteral("0") : result.mid(lead);
}

QString bulkRoomName(const QString &name, int index, int count)
{
    if (count <= 1)
        return name;
    int start = name.size();
    while (start > 0 && isAsciiDigit(name.at(start - 1)))
        --start;
    if (start == name.size())
        return index == 0 ? name : name + QString::number(index);
    return name.left(start) + addToDecimalText(name.mid(start), index);
}

QString lightOffIconName(const QString &onName)
{
    const int at = onName.indexOf(QLatin1String("on"));
    return at < 0 ? onName : onName.left(at) + QStringLiteral("off");
}
