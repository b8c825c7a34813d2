#include "messagedlg.h"

#include "bus/broadcastsocket.h"
#include "records/messageform.h"
#include "records/messagelog.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

MessageDlg::MessageDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("MessageDlg"));
    setWindowTitle(QStringLiteral("Edit Message"));
    setMinimumSize(800, 600);


    auto *title = new QtMaterialLabel(tr("Edit Message"), Material::Headline6, this);
    title->setObjectName(QStringLiteral("labelTitle"));

    m_form = new MessageForm(96, false, this);

    auto *ok = new QtMaterialFlatButton(tr("Ok"), Material::RaisedPrimary, this);
    ok->setObjectName(QStringLiteral("pushButtonOk"));
    connect(ok, &QAbstractButton::clicked, this, &MessageDlg::pushButtonOk_clicked);
    auto *cancel = new QtMaterialFlatButton(tr("Cancel"), Material::RaisedPrimary, this);
    cancel->setObjectName(QStringLiteral("pushButtonCancel"));
    connect(cancel, &QAbstractButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *outer = new QGridLayout(this);
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setSpacing(20);
    outer->setContentsMargins(30, 20, 30, 30);
    outer->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    outer->addWidget(title, 1, 0, Qt::AlignCenter);
    outer->addWidget(m_form, 2, 0);
    outer->addLayout(buttons, 3, 0);
    outer->setRowStretch(4, 1);
}

MessageDlg::~MessageDlg() = default;

void MessageDlg::initDlgCtrl()
{
    m_form->showRecord(m_record);
}

void MessageDlg::pushButtonOk_clicked()
{
    m_record.message_status = MessageLog::statusByName(m_form->statusBox()->currentText());
    MessageLog::setDealTime(m_record, MessageLog::now());
    MessageLog::setRemark(m_record, m_form->remarkField()->text());
    MessageLog::writeHandling(m_record);
    emit gl_socket.signalsUpdateMessage(m_record);
    accept();
}

void MessageDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
