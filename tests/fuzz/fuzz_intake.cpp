// The panel message intake: universal-switch frames (and anything else) from
// known and unknown panels, for defined and undefined switch numbers, with the
// intake's clock moved on by the input so that service messages settle.

#include "fuzzsupport.h"
#include "knowncodes.h"

#include "shell/panelmessageintake.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

namespace {

qint64 now = 1796630400; // 2026-12-07 00:00:00 UTC, moved on by the input

PanelMessageIntake &intake()
{
    static PanelMessageIntake *it = nullptr;
    if (it)
        return *it;
    for (const char *sql :
         {"insert into tbl_region(region_name,region_id) values('R',1)",
          "insert into tbl_floor(floor_name,floor_id,region_id) values('F',1,1)",
          "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,room_template_id) "
          "values('Hall','room_1',1,1,1,0)",
          "insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
          "values(1,'Door',1,20,1)",
          "insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
          "values(2,'Bed',1,21,2)",
          "insert into tbl_message(message_id,message_type,message_remark,icon_name,"
          "universal_switch_no) values(1,0,'Clean','message_01',5)",
          "insert into tbl_message(message_id,message_type,message_remark,icon_name,"
          "universal_switch_no) values(2,1,'Fire','message_02',9)"})
        gl_sqlite3db.execDML(QString::fromLatin1(sql));
    it = new PanelMessageIntake;
    it->setClock([] { return now; });
    return *it;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    PanelMessageIntake &it = intake();
    fuzz::Input in(data, size);
    // A few frames an input: enough for a repeat, a change of state and a settling.
    for (int frames = 0; frames < 8 && !in.atEnd(); ++frames) {
        const uint8_t mode = in.byte();
        QByteArray bytes;
        if (mode & 1) {
            const int n = in.byte();
            bytes = in.rest().left(n);
            for (int i = 0; i < n && !in.atEnd(); ++i)
                in.byte();
        } else {
            const uint8_t device = mode & 2 ? in.byte() : uint8_t(20 + ((mode >> 2) & 1));
            const uint16_t code = mode & 8 ? fuzz::pickCode(in.byte(), in.word()) : 0xE01C;
            const int n = (mode >> 4) & 3;
            QByteArray payload;
            for (int i = 0; i < n; ++i)
                payload.append(char(in.byte()));
            bytes = fuzz::frameTo(1, device, code, payload);
        }
        it.takeFrame(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size());
        if (mode & 0x40) {
            now += in.byte();
            it.slotsUniversalSwitch();
        }
    }
    // Keep the message log small over millions of inputs.
    gl_sqlite3db.execDML(QStringLiteral("delete from tbl_message_log where id>1000"));
    return 0;
}
