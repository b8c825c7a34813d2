#pragma once

// The "AC" tab of the room editor: the room's air conditioners (numbers 0 and 1
// of tbl_air_conditioner) as tiles, then the add tile, which refuses a third.

#include "commissioning/devicetiletab.h"

class PageSettingRoomManagerAC : public DeviceTileTab
{
    Q_OBJECT
public:
    explicit PageSettingRoomManagerAC(QWidget *parent = nullptr);

protected:
    // countSql: the owner's rows of this kind, "%d" the room id.
    PageSettingRoomManagerAC(const Source &source, const char *countSql, QWidget *parent);
    int newId() override;
    virtual int freeNumber() const;
    QStringList removal(int id) const override;

private:
    const char *m_countSql;
};
