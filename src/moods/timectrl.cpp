#include "timectrl.h"

#include "moods/fieldnumber.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QRegularExpression>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

#include <climits>

namespace {

// The leading "%d" of text at pos, as sscanf reads it (leading white space
// skipped, a sign allowed); false when no number starts there. Values beyond an
// int are held at its ends.
bool scanNumber(const QString &text, int &pos, int &value)
{
    static const QRegularExpression number(QStringLiteral("\\G\\s*([+-]?\\d+)"));
    const QRegularExpressionMatch match = number.match(text, pos);
    if (!match.hasMatch())
        return false;
    value = fieldNumber(match.captured(1));
    pos = match.capturedEnd(0);
    return true;
}

} // namespace

TimeCtrl::TimeCtrl()
    : QWidget(nullptr)
{
    auto makeField = [this] {
        auto *field = new QtMaterialLineEdit(this);
        field->setValidator(new QIntValidator(field));
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(90);
        connect(field, &QLineEdit::textChanged, this, &TimeCtrl::textChanged);
        connect(field, &QLineEdit::editingFinished, this, &TimeCtrl::editingFinished);
        return field;
    };
    m_minutes = makeField();
    m_colon = new QtMaterialLabel(tr(":"), this);
    m_seconds = makeField();

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_minutes, 0, 0);
    grid->addWidget(m_colon, 0, 1);
    grid->addWidget(m_seconds, 0, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(1, 1);
}

QString TimeCtrl::getText() const
{
    return QStringLiteral("%1:%2").arg(fieldNumber(m_minutes->text())).arg(fieldNumber(m_seconds->text()));
}

void TimeCtrl::setText(QString text)
{
    int minutes = 0;
    int seconds = 0;
    int pos = 0;
    if (scanNumber(text, pos, minutes) && pos < text.size() && text.at(pos) == QLatin1Char(':')) {
        ++pos;
        scanNumber(text, pos, seconds);
    }
    m_minutes->setText(QString::number(minutes));
    m_seconds->setText(QString::number(seconds));
}

void TimeCtrl::textChanged(const QString &text)
{
    auto *field = qobject_cast<QtMaterialLineEdit *>(sender());
    if (field && fieldNumber(text) >= 60)
        field->setText(tr("59"));
}

void TimeCtrl::editingFinished()
{
    auto *field = qobject_cast<QtMaterialLineEdit *>(sender());
    if (field && field->text().isEmpty())
        field->setText(tr("0"));
}
