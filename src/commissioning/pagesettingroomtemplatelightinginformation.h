#pragma once

// "Template Light Information": one light of a room template — the light page
// without addresses: name, type and picture, always one row.

#include "commissioning/pagesettingroommanagerlightinginformation.h"

class PageSettingRoomTemplateLightingInformation : public PageSettingRoomManagerLightingInformation
{
    Q_OBJECT
public:
    PageSettingRoomTemplateLightingInformation(const QString &id, const QString &name,
                                               QWidget *parent = nullptr);

    bool rowExists() const { return exists; }

protected slots:
    void slotsPageEnter(QString templateLightId, QString templateId) override;
    void pushButtonSave_clicked() override;

private:
    bool exists = false;
};
