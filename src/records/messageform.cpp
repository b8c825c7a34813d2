#include "messageform.h"

#include "records/messagelog.h"
#include "records/messagenames.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPixmap>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

const char *const MessageForm::DefaultIcon = ":/myImages/png/message/message_01.png";

namespace {

QtMaterialLineEdit *readOnlyField(const char *name, QWidget *parent)
{
    auto *field = new QtMaterialLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setEnabled(false);
    return field;
}

} // namespace

MessageForm::MessageForm(int iconSize, bool withPosition, QWidget *parent)
    : QWidget(parent)
    , m_iconSize(iconSize)
{
    labelIcon = new QtMaterialLabel(this);
    labelIcon->setObjectName(QStringLiteral("labelIcon"));
    labelIcon->setFixedSize(iconSize, iconSize);
    labelIcon->setScaledContents(true);
    setIcon(QString::fromLatin1(DefaultIcon));

    lineEditRecvTime = readOnlyField("lineEditRecvTime", this);
    lineEditRoomName = readOnlyField("lineEditRoomName", this);
    lineEditPanelName = readOnlyField("lineEditPanelName", this);
    lineEditMessageName = readOnlyField("lineEditMessageName", this);

    comboBoxStatus = new QtMaterialComboBox(this);
    comboBoxStatus->setObjectName(QStringLiteral("comboBoxStatus"));
    comboBoxStatus->setEditable(false);
    fillStatuses();

    lineEditRemark = new QtMaterialLineEdit(this);
    lineEditRemark->setObjectName(QStringLiteral("lineEditRemark"));

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setSpacing(20);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(labelIcon, 0, 0, 1, 2, Qt::AlignCenter);
    const struct
    {
        const char *label;
        QWidget *control;
    } rows[] = {
        {"Recv Time:", lineEditRecvTime},    {"Room Name:", lineEditRoomName},
        {"Panel Name:", lineEditPanelName},  {"Message Name:", lineEditMessageName},
        {"Message Status:", comboBoxStatus}, {"Message Remark:", lineEditRemark},
    };
    int row = 1;
    for (const auto &r : rows) {
        grid->addWidget(new QtMaterialLabel(tr(r.label), this), row, 0);
        grid->addWidget(r.control, row, 1);
        ++row;
    }
    if (withPosition) {
        labelPos = new QtMaterialLabel(QStringLiteral("0/0"), this);
        labelPos->setObjectName(QStringLiteral("labelPos"));
        grid->addWidget(new QtMaterialLabel(tr("Message Pos:"), this), row, 0);
        grid->addWidget(labelPos, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

bool MessageForm::showRecord(const messageRecord &record)
{
    if (!m_statusesRead)
        fillStatuses();
    lineEditRecvTime->setText(QString::fromUtf8(record.recv_time));
    lineEditRemark->setText(QString::fromUtf8(record.message_log_remark));
    const MessageNames names = MessageNames::lookup(record, false, &m_recordRead);
    if (!names.defined)
        return false;
    setIcon(names.iconPath());
    lineEditRoomName->setText(names.place());
    lineEditPanelName->setText(names.panelName);
    lineEditMessageName->setText(names.messageName);
    selectStatus(names.statusName);
    return true;
}

void MessageForm::fillStatuses()
{
    const QStringList names = MessageLog::statusNames(&m_statusesRead);
    comboBoxStatus->clear();
    comboBoxStatus->addItems(names);
}

bool MessageForm::selectStatus(const QString &name)
{
    const int index = comboBoxStatus->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    comboBoxStatus->setCurrentIndex(index);
    return true;
}

void MessageForm::setIcon(const QString &path)
{
    m_iconPath = path;
    // A picture that cannot be loaded shows nothing.
    QPixmap picture(path);
    labelIcon->setPixmap(picture.isNull() ? QPixmap()
                                          : picture.scaled(m_iconSize, m_iconSize, Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation));
}

QtMaterialFlatButton *MessageForm::makeButton(const QString &text, const char *objectName, QWidget *parent)
{
    auto *button = new QtMaterialFlatButton(text, Material::RaisedPrimary, parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

void MessageForm::layOutDialog(QWidget *dialog, QtMaterialIconButton *close, const QString &title,
                               MessageForm *form, const QList<QtMaterialFlatButton *> &buttons)
{
    auto *titleLabel = new QtMaterialLabel(title, Material::Headline6, dialog);
    titleLabel->setObjectName(QStringLiteral("labelTitle"));

    auto *row = new QHBoxLayout;
    row->setSpacing(20);
    for (QtMaterialFlatButton *button : buttons)
        row->addWidget(button);

    auto *outer = new QGridLayout(dialog);
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setSpacing(20);
    outer->setContentsMargins(30, 20, 30, 30);
    outer->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    outer->addWidget(titleLabel, 1, 0, Qt::AlignCenter);
    outer->addWidget(form, 2, 0);
    outer->addLayout(row, 3, 0);
    outer->setRowStretch(4, 1);
}
