#include "projectsettingitem.h"

#include <QGridLayout>
#include <QLabel>
#include <qtmaterialcheckbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialtheme.h>

ProjectSettingItem::ProjectSettingItem(const QString &projectName, bool current, QWidget *parent)
    : DynamicWidget(QColor(0x3D, 0x53, 0x66), parent)
{
    setObjectName(QStringLiteral("ProjectSettingItem"));
    setFixedHeight(60);

    m_check = new QtMaterialCheckBox(QString(), this);
    m_check->setObjectName(QStringLiteral("checkBoxProject"));
    auto *icon = new QLabel(this);
    icon->setFixedSize(24, 24);
    icon->setPixmap(QPixmap(QStringLiteral(":/myImages/png/icon-navigation-home.png"))
                        .scaled(24, 24, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_name = new QtMaterialLabel(projectName, Material::Headline6, this);
    m_name->setObjectName(QStringLiteral("labelProjectName"));

    auto *inner = new QGridLayout;
    inner->setSpacing(20);
    inner->addWidget(m_check, 0, 0);
    inner->addWidget(icon, 0, 1);
    inner->addWidget(m_name, 0, 2);
    inner->setColumnStretch(3, 1);
    inner->setRowStretch(1, 1);

    auto *outer = new QGridLayout(this);
    outer->setSpacing(20);
    outer->addLayout(inner, 0, 0);
    if (!current) {
        m_delete = new QtMaterialIconButton(
            QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
        m_delete->setObjectName(QStringLiteral("pushButtonDelete"));
        m_delete->setColor(QColor(0xE3, 0x51, 0x51));
        outer->addWidget(m_delete, 0, 1, Qt::AlignRight);
        connect(m_delete, &QAbstractButton::clicked, this, &ProjectSettingItem::pushButtonDelete_clicked);
    }
    outer->setRowStretch(1, 1);
    connect(this, &DynamicWidget::signalsPressed, this, &ProjectSettingItem::slotsPressed);
}

QString ProjectSettingItem::getProjectName() const
{
    return m_name->text();
}

bool ProjectSettingItem::getProjectState() const
{
    return m_check->isChecked();
}

void ProjectSettingItem::slotsPressed()
{
    emit signalsProjectEdit(m_name->text());
}

void ProjectSettingItem::pushButtonDelete_clicked()
{
    emit signalsProjectDelete(m_name->text());
}
