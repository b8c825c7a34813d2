#include "pagesettingroommanagerac.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/queryhelpers.h"

PageSettingRoomManagerAC::PageSettingRoomManagerAC(QWidget *parent)
    : PageSettingRoomManagerAC(
          {ManagerItemAirConditioner,
           "select * from tbl_air_conditioner where room_id=%d and air_conditioner_no<=1 "
           "order by air_conditioner_no asc",
           QStringLiteral("air_conditioner_no"), QStringLiteral("remark"), QString(),
           QStringLiteral("AC Information"), tr("AC Information")},
          "select air_conditioner_no from tbl_air_conditioner where room_id=%d and "
          "air_conditioner_no<=1",
          parent)
{}

PageSettingRoomManagerAC::PageSettingRoomManagerAC(const Source &source, const char *countSql,
                                                   QWidget *parent)
    : DeviceTileTab(source, parent)
    , m_countSql(countSql)
{
    if (objectName().isEmpty())
        setObjectName(QString::fromLatin1(metaObject()->className()));
}

int PageSettingRoomManagerAC::newId()
{
    QStringList numbers;
    const int count = getValuesFromDb(QString::asprintf(m_countSql, owner_id),
                                      QStringLiteral("air_conditioner_no"), numbers);
    if (count >= 2) {
        emit gl_socket.signalsInformation(tr("Beyond the limit!"));
        return -1;
    }
    // Unread numbers give none: one read as free might be taken.
    const int number = count < 0 ? -1 : freeNumber();
    if (number < 0)
        emit gl_socket.signalsInformation(addFailure());
    return number;
}

QString PageSettingRoomManagerAC::addFailure() const
{
    return tr("Failed to add the air conditioner!");
}

int PageSettingRoomManagerAC::freeNumber() const
{
    return getACNO(owner_id);
}

// The unit and its icon position on the room's 3-D picture go together.
QStringList PageSettingRoomManagerAC::removal(int id) const
{
    return {
        QString::asprintf("delete from tbl_air_conditioner where air_conditioner_no=%d and room_id=%d", id,
                          owner_id),
        QString::asprintf("delete from tbl_3d_air_conditioner where air_conditioner_no=%d and room_id=%d",
                          id, owner_id)};
}

QString PageSettingRoomManagerAC::removeFailure() const
{
    return tr("Failed to delete the air conditioner!");
}
