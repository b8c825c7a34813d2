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
    // The free number, or -1 when the taken ones could not be read.
    virtual int freeNumber() const;
    // Said when no number could be read.
    virtual QString addFailure() const;
    QStringList removal(int id) const override;
    QString removeFailure() const override;

private:
    const char *m_countSql;
};
