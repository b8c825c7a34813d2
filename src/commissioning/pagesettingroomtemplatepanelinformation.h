#pragma once

// "Template Panel Information": the name of one panel of a room template.

#include "commissioning/pagesettingroommanagerpanelinformation.h"

class PageSettingRoomTemplatePanelInformation : public PageSettingRoomManagerPanelInformation
{
    Q_OBJECT
public:
    PageSettingRoomTemplatePanelInformation(const QString &id, const QString &name,
                                            QWidget *parent = nullptr);

protected slots:
    void slotsPageEnter(QString templatePanelId, QString templateId) override;
    void pushButtonSave_clicked() override;
};
