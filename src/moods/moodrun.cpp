#include "moodrun.h"

#include "bus/airconditioner.h"
#include "bus/broadcastsocket.h"
#include "bus/commandbuilders.h"
#include "moods/diycommand.h"
#include "operation/light.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QVariant>

#include <cstring>

namespace {

int number(const QSqlQuery &row, const char *column)
{
    return row.value(QLatin1String(column)).toInt();
}

// Reads one channel set of a stored light row into set k of rec.
void readSet(light &rec, int k, const QSqlQuery &row)
{
    rec.brightness[k] = number(row, "brightness");
    rec.rgb[k] = number(row, "rgb");
    rec.original_type[k] = number(row, "original_type");
    rec.subnet_id[k] = number(row, "subnet_id");
    rec.device_id[k] = number(row, "device_id");
    rec.channel[k] = number(row, "channel");
}

// False when a row failed to read.
bool storedLights(const mood &m, QList<light> &lights)
{
    QSqlQuery rows = gl_sqlite3db.execQuery(
        QString::asprintf("select * from tbl_mood_light_status where mood_id=%d and room_id=%d and "
                          "(rgb=0 or rgb=1) order by light_id asc",
                          m.mood_id, m.room_id));
    while (rows.next()) {
        light rec;
        rec.light_id = number(rows, "light_id");
        rec.light_type = number(rows, "light_type");
        rec.us_id = number(rows, "us_id");
        rec.fade = number(rows, "fade");
        rec.room_id = number(rows, "room_id");
        readSet(rec, 0, rows);
        light::setText(rec.light_remark, rows.value(QStringLiteral("light_remark")).toString());
        light::setText(rec.icon_name_of_light_on,
                       rows.value(QStringLiteral("icon_name_of_light_on")).toString());
        light::setText(rec.icon_name_of_light_off,
                       rows.value(QStringLiteral("icon_name_of_light_off")).toString());
        const int stored = rec.brightness[0];
        if (rec.light_type == LightDaliDT8) {
            rec.brightness[0] = (stored >> 8) & 0xFF;
            rec.brightness[1] = stored & 0xFF;
        } else if (rec.light_type == LightHSB) {
            rec.brightness[0] = (stored >> 16) & 0xFF;
            rec.brightness[1] = (stored >> 8) & 0xFF;
            rec.brightness[2] = stored & 0xFF;
        } else if (rec.light_type == LightRGB) {
            for (int k = 2; k <= 4; ++k) {
                QSqlQuery set = gl_sqlite3db.execQuery(QString::asprintf(
                    "select * from tbl_mood_light_status where mood_id=%d and room_id=%d and "
                    "light_id=%d and rgb=%d",
                    m.mood_id, m.room_id, rec.light_id, k));
                if (set.next())
                    readSet(rec, k - 1, set);
                const bool read = rowsReadToEnd(set);
                set.finish();
                if (!read)
                    return false;
            }
        }
        lights.append(rec);
    }
    const bool whole = rowsReadToEnd(rows);
    rows.finish();
    return whole;
}

// False when a row failed to read.
bool storedClimate(const mood &m, int first, bool infraredLimits, QList<airConditioner> &units)
{
    QSqlQuery rows = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_mood_air_conditioner_status where mood_id=%d and room_id=%d and "
        "(air_conditioner_no=%d or air_conditioner_no=%d) order by air_conditioner_no asc",
        m.mood_id, m.room_id, first, first + 1));
    while (rows.next()) {
        airConditioner ac;
        ac.air_conditioner_no = number(rows, "air_conditioner_no");
        ac.air_conditioner_type = number(rows, "air_conditioner_type");
        ac.status = number(rows, "status");
        ac.mode = number(rows, "mode");
        ac.room_id = number(rows, "room_id");
        ac.speed = number(rows, "speed");
        ac.current_temperature = number(rows, "current_temperature");
        ac.current_cool_temperature = number(rows, "current_cool_temperature");
        ac.current_heat_temperature = number(rows, "current_heat_temperature");
        ac.current_auto_temperature = number(rows, "current_auto_temperature");
        ac.current_dry_temperature = number(rows, "current_dry_temperature");
        ac.temperature_unit = number(rows, "temperature_unit");
        ac.subnet_id = number(rows, "subnet_id");
        ac.device_id = number(rows, "device_id");
        ac.channel = number(rows, "channel");
        ac.original_type = number(rows, "original_type");
        light::copyText(ac.remark, sizeof(ac.remark), rows.value(QStringLiteral("remark")).toString());
        if (infraredLimits && ac.air_conditioner_type == 1) {
            for (int32_t *t : {&ac.current_cool_temperature, &ac.current_heat_temperature,
                               &ac.current_auto_temperature, &ac.current_dry_temperature}) {
                if (*t < 17 || *t > 30)
                    *t = 26;
            }
        }
        units.append(ac);
    }
    const bool whole = rowsReadToEnd(rows);
    rows.finish();
    return whole;
}

void appendLight(QList<MoodStep> &steps, const light &l)
{
    const int s = l.subnet_id[0], d = l.device_id[0], c = l.channel[0];
    switch (l.light_type) {
    case LightOnOff:
    case LightAdjust:
        steps.append([=] { fn_light_setChannelStatus(s, d, c, l.brightness[0]); });
        break;
    case LightRGB:
        for (int k = 0; k < 3; ++k)
            steps.append([=] {
                fn_light_setChannelStatus(l.subnet_id[k], l.device_id[k], l.channel[k], l.brightness[k]);
            });
        if (l.subnet_id[3] > 0 && l.device_id[3] > 0 && l.channel[3] > 0)
            steps.append([=] {
                fn_light_setChannelStatus(l.subnet_id[3], l.device_id[3], l.channel[3], l.brightness[3]);
            });
        else
            steps.append(MoodStep());
        break;
    case LightHSB:
        steps.append(
            [=] { fn_light_setHSBRgbStatus(s, d, c, l.brightness[0], l.brightness[1], l.brightness[2]); });
        break;
    case LightScene: {
        const int scene = l.brightness[0] > 0 ? l.us_id : 0;
        steps.append([=] { fn_light_setSceneStatus(s, d, c, scene); });
        break;
    }
    case LightDaliDT8:
        steps.append([=] { fn_light_setChannelStatus(s, d, c, l.brightness[0]); });
        steps.append([=] { fn_light_setChannelStatus(s, d, c + 100, l.brightness[1]); });
        break;
    default:
        steps.append(MoodStep());
        break;
    }
}

void appendAirConditioner(QList<MoodStep> &steps, const airConditioner &rec)
{
    const int s = rec.subnet_id, d = rec.device_id;
    if (rec.air_conditioner_type == 0) {
        if (rec.channel < 2)
            steps.append([=] {
                airConditioner ac = rec;
                fn_ac_panel_setPrms(s, d, ac);
            });
        else
            steps.append([=] {
                airConditioner ac = rec;
                fn_ac_panel_setPrms(s, d, rec.channel - 1, ac);
            });
        return;
    }
    const int c = rec.channel - 1;
    steps.append([=] { fn_ac_ir_setStatus(s, d, c, rec.status); });
    if (rec.status == 0)
        return;
    steps.append([=] { fn_ac_ir_setMode(s, d, c, rec.mode); });
    int t = 0;
    switch (rec.mode) {
    case 0:
        t = rec.current_cool_temperature;
        break;
    case 1:
        t = rec.current_heat_temperature;
        break;
    case 3:
        t = rec.current_auto_temperature;
        break;
    default:
        return; // fan and unknown modes: nothing after the mode
    }
    steps.append([=] { fn_ac_ir_setSpeed(s, d, c, rec.mode, rec.speed); });
    steps.append([=] { fn_ac_ir_setTemperature(s, d, c, rec.mode, t); });
}

} // namespace

bool diyCommandFrame(int command_type, unsigned char prm1, unsigned char prm2, unsigned char prm3,
                     unsigned char prm4, unsigned short *code, unsigned char *length,
                     unsigned char payload[5], int *payloadLength)
{
    const unsigned char p[4] = {prm1, prm2, prm3, prm4};
    *payloadLength = 4;
    std::memcpy(payload, p, 4);
    payload[4] = 0;
    switch (command_type) {
    case 85:
        *code = 0x0002;
        break;
    case 86:
        *code = 0x001A;
        break;
    case 88:
        *code = 0xE01C;
        break;
    case 89:
        *code = 0x0031;
        break;
    case 92:
        *code = 0xE3E0;
        break;
    case 95:
        *code = 0xE3D8;
        break;
    case 102:
        *code = 0x0104;
        break;
    case 103:
        *code = 0x0218;
        break;
    case 121:
        *code = 0x2034;
        break;
    case 112:
    case 113:
        *code = 0x201A;
        payload[0] = command_type == 112 ? 1 : 2;
        std::memcpy(payload + 1, p, 4);
        *payloadLength = 5;
        break;
    case 115:
    case 116:
        *code = command_type == 115 ? 0x202A : 0x202E;
        *payloadLength = 5;
        break;
    default:
        return false;
    }
    *length = static_cast<unsigned char>(11 + *payloadLength);
    return true;
}

bool moodRunSteps(const mood &m, QList<MoodStep> &steps)
{
    // A failed read ends the build: the sequencer then sends none of the steps.
    steps.clear();
    if (m.light_bool > 0) {
        QList<light> lights;
        if (!storedLights(m, lights))
            return false;
        for (const light &l : qAsConst(lights))
            appendLight(steps, l);
    }
    if (m.ac1_bool > 0 || m.ac2_bool > 0) {
        QList<airConditioner> units;
        if (!storedClimate(m, 0, true, units))
            return false;
        for (const airConditioner &ac : qAsConst(units))
            appendAirConditioner(steps, ac);
    }
    if (m.floor_heat1_bool > 0 || m.floor_heat2_bool > 0) {
        QList<airConditioner> circuits;
        if (!storedClimate(m, 2, false, circuits))
            return false;
        for (const airConditioner &fh : qAsConst(circuits)) {
            const int s = fh.subnet_id, d = fh.device_id, c = fh.channel - 1;
            steps.append([=] { fn_fh_setStatus(s, d, c, fh.status); });
            steps.append([=] { fn_fh_setTemperature(s, d, c, fh.current_temperature); });
        }
    }
    if (m.diy_bool > 0) {
        bool read = false;
        const QList<diyCommand> commands = loadMoodCommands(m.mood_id, m.room_id, &read);
        if (!read)
            return false;
        for (const diyCommand &cmd : commands) {
            unsigned short code = 0;
            unsigned char length = 0;
            unsigned char payload[5];
            int n = 0;
            if (!diyCommandFrame(cmd.command_type, cmd.prm1, cmd.prm2, cmd.prm3, cmd.prm4, &code, &length,
                                 payload, &n)) {
                steps.append(MoodStep());
                continue;
            }
            const QByteArray bytes(reinterpret_cast<const char *>(payload), n);
            const unsigned char subnet = cmd.subnet_id, device = cmd.device_id;
            steps.append([=] {
                QByteArray copy = bytes;
                gl_socket.sendCommand(length, code, subnet, device,
                                      reinterpret_cast<unsigned char *>(copy.data()),
                                      static_cast<unsigned int>(copy.size()));
            });
        }
    }
    return true;
}
