#include "pagesettingprojectinformation.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QVBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

PageSettingProjectInformation::PageSettingProjectInformation(const QString &id, const QString &name,
                                                             QWidget *parent)
    : MyDialog(id, name, parent)
{
    lineEditName = new QtMaterialLineEdit(this);
    lineEditName->setObjectName(QStringLiteral("lineEditName"));
    lineEditName->setEnabled(false);
    lineEditLow = new QtMaterialLineEdit(QStringLiteral("20"), this);
    lineEditLow->setObjectName(QStringLiteral("lineEditLow"));
    lineEditLow->setValidator(new QIntValidator(lineEditLow));
    lineEditHigh = new QtMaterialLineEdit(QStringLiteral("35"), this);
    lineEditHigh->setObjectName(QStringLiteral("lineEditHigh"));
    lineEditHigh->setValidator(new QIntValidator(lineEditHigh));
    auto *save =
        new QtMaterialFlatButton(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
                                 tr("Save"), Material::RaisedPrimary, this);
    save->setObjectName(QStringLiteral("pushButtonSave"));

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(20);
    layout->addWidget(save, 0, Qt::AlignRight);
    layout->addWidget(new QtMaterialLabel(tr("Project Name"), this));
    layout->addWidget(lineEditName);
    layout->addWidget(new QtMaterialLabel(tr("Valid Indoor Temperature Range"), this));
    auto *range = new QHBoxLayout;
    range->setSpacing(20);
    range->addWidget(lineEditLow);
    range->addWidget(new QtMaterialLabel(tr("To"), this));
    range->addWidget(lineEditHigh);
    range->addStretch(1);
    layout->addLayout(range);
    layout->addStretch(1);

    connect(save, &QAbstractButton::clicked, this, &PageSettingProjectInformation::pushButtonSave_clicked);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingProjectInformation::slotsPageEnter);
}

void PageSettingProjectInformation::slotsPageEnter(QString projectName)
{
    if (!isVisible())
        return;
    loading = true;
    lineEditName->setText(projectName);
    QString low;
    QString high;
    getProjectNode(projectName, QStringLiteral("indoor_temperature_low"), low);
    getProjectNode(projectName, QStringLiteral("indoor_temperature_high"), high);
    lineEditLow->setText(low);
    lineEditHigh->setText(high);
    loading = false;
}

void PageSettingProjectInformation::pushButtonSave_clicked()
{
    if (lineEditLow->text().isEmpty() || lineEditHigh->text().isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return;
    }
    if (lineEditHigh->text().toInt() < lineEditLow->text().toInt()) {
        emit gl_socket.signalsInformation(tr("Invalid indoor temperature range!"));
        return;
    }
    const QString project = lineEditName->text();
    // Both limits in one write of the list: a failure leaves the old range whole.
    if (!setProjectNodes(project, {{QStringLiteral("indoor_temperature_low"), lineEditLow->text()},
                                   {QStringLiteral("indoor_temperature_high"), lineEditHigh->text()}})) {
        emit gl_socket.signalsInformation(tr("Failed to save the project information!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(tr("Project Setting"), tr("Project Setting"), QString(), QString());
}
