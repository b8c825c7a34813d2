#include "pagesettingabout.h"

#include "bus/broadcastsocket.h"
#include "shell/pictures.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/settings.h"

#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

namespace {

// The maker's own texts; the link is a documentation-only address.
const char *const MakerDescription =
    "Varno is made by the Varno project: one screen to commission the rooms, lights, climate and "
    "moods of a building and to run them every day. Our privacy terms can be found through the "
    "link below.";
const char *const MakerLink = "https://www.example.org/varno";
const char *const MakerRights = "Copyright (C) 2026 The Varno project. All rights reserved.";

QtMaterialLabel *centredLabel(const QString &text, QWidget *parent)
{
    auto *label = new QtMaterialLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

PageSettingAbout::PageSettingAbout(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingAbout"));

    // The maker's block.
    auto *logo = new QtMaterialLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/myImages/png/logo-about-kest.png")));
    logo->setAlignment(Qt::AlignCenter);
    auto *description = centredLabel(tr(MakerDescription), this);
    description->setWordWrap(true);
    auto *link = centredLabel(
        QStringLiteral("<a href=\"%1\" style=\"color:#FF0000;\">%1</a>").arg(QLatin1String(MakerLink)),
        this);
    link->setObjectName(QStringLiteral("labelLink"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);
    auto *rights = centredLabel(tr(MakerRights), this);
    auto *maker = new QGridLayout;
    maker->setSpacing(20);
    maker->setSizeConstraint(QLayout::SetNoConstraint);
    maker->addWidget(logo, 0, 0, Qt::AlignCenter);
    maker->addWidget(description, 1, 0, Qt::AlignCenter);
    maker->addWidget(link, 2, 0, Qt::AlignCenter);
    maker->addWidget(rights, 3, 0, Qt::AlignCenter);
    for (int row = 0; row < 4; ++row)
        maker->setRowStretch(row, 1);

    // The vendor block.
    QString storedName;
    QString storedPhone;
    getConfig(QStringLiteral("about"), QStringLiteral("about_name"), storedName);
    getConfig(QStringLiteral("about"), QStringLiteral("about_phone"), storedPhone);
    lineEditName = new QtMaterialLineEdit(storedName, this);
    lineEditName->setObjectName(QStringLiteral("lineEditName"));
    lineEditPhone = new QtMaterialLineEdit(storedPhone, this);
    lineEditPhone->setObjectName(QStringLiteral("lineEditPhone"));
    connect(lineEditName, &QLineEdit::editingFinished, this, &PageSettingAbout::editingFinished);
    connect(lineEditPhone, &QLineEdit::editingFinished, this, &PageSettingAbout::editingFinished);
    auto *vendor = new QGridLayout;
    vendor->setSpacing(20);
    vendor->setSizeConstraint(QLayout::SetNoConstraint);
    vendor->addWidget(centredLabel(tr("Vendor/Agent Information"), this), 0, 0, Qt::AlignCenter);
    vendor->addWidget(new QtMaterialLabel(tr("Name"), this), 1, 1);
    vendor->addWidget(lineEditName, 2, 1);
    vendor->addWidget(new QtMaterialLabel(tr("Phone"), this), 3, 1);
    vendor->addWidget(lineEditPhone, 4, 1);
    vendor->setColumnStretch(0, 1);
    vendor->setColumnStretch(1, 1);
    vendor->setRowStretch(5, 1);

    // The software block.
    QString dbVersion;
    getTextFromDb(QStringLiteral("select version from tbl_version"), QStringLiteral("version"), dbVersion);
    labelSoftwareVersion = centredLabel(QString::asprintf("V%.2f", kSchemaVersion), this);
    labelSoftwareVersion->setFontType(Material::Headline5);
    labelDatabaseVersion = centredLabel(QStringLiteral("V%1").arg(dbVersion), this);
    labelDatabaseVersion->setFontType(Material::Headline5);
    auto *softwareCaption = centredLabel(tr("Software Version"), this);
    softwareCaption->setColor(QColor(0xFF, 0x00, 0x00));
    auto *databaseCaption = centredLabel(tr("Database Version"), this);
    databaseCaption->setColor(QColor(0xFF, 0x00, 0x00));
    auto *software = new QGridLayout;
    software->setSpacing(20);
    software->setSizeConstraint(QLayout::SetNoConstraint);
    software->addWidget(centredLabel(tr("Software Information"), this), 0, 0, Qt::AlignCenter);
    software->addWidget(labelSoftwareVersion, 1, 0, Qt::AlignCenter);
    software->addWidget(labelDatabaseVersion, 1, 1, Qt::AlignCenter);
    software->addWidget(softwareCaption, 2, 0, Qt::AlignCenter);
    software->addWidget(databaseCaption, 2, 1, Qt::AlignCenter);
    software->setRowStretch(3, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(20);
    right->addLayout(vendor, 1);
    right->addLayout(software, 1);

    auto *page = new QGridLayout(this);
    page->setSpacing(20);
    page->setSizeConstraint(QLayout::SetNoConstraint);
    page->addLayout(maker, 0, 0);
    page->addLayout(right, 0, 1);
    page->setColumnStretch(0, 1);
    page->setColumnStretch(1, 1);
    page->setRowStretch(0, 1);
}

QString PageSettingAbout::softwareVersionText() const
{
    return labelSoftwareVersion->text();
}

QString PageSettingAbout::databaseVersionText() const
{
    return labelDatabaseVersion->text();
}

void PageSettingAbout::editingFinished()
{
    // Both fields in one write of the settings file; a refused write leaves the
    // typing in the fields, to be stored when editing next finishes.
    if (!setConfig(QStringLiteral("about"), {{QStringLiteral("about_name"), lineEditName->text()},
                                             {QStringLiteral("about_phone"), lineEditPhone->text()}}))
        emit gl_socket.signalsInformation(tr("Failed to save the information!"));
}

void PageSettingAbout::paintEvent(QPaintEvent *event)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setPen(QColor(Qt::lightGray));
    painter.drawLine(w / 2, 20, w / 2, h - 21);
    painter.drawLine(w / 2 + 20, h / 2, w - 21, h / 2);
    painter.setRenderHint(QPainter::Antialiasing);

    const int d = qMin(w / 8, h / 4);
    if (d > 0) {
        const QRect circle(w / 2 + (w / 4 - d) / 2, (h / 2 - d) / 2, d, d);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1F, 0x29, 0x33));
        painter.drawEllipse(circle);
        if (d > 80) {
            Pictures::draw(painter, circle.adjusted(40, 40, -40, -40),
                           QStringLiteral(":/myImages/png/icon-about-company.png"));
        }
    }
    painter.end();
    MyDialog::paintEvent(event);
}
