#pragma once

// One air conditioner or floor-heating circuit: one tbl_air_conditioner row.
// Within a room, air_conditioner_no 0 and 1 are air conditioners and 2 and 3
// floor-heating circuits. Passed by value and copied whole.

#include <cstdint>

struct airConditioner
{
    int32_t temperature_unit = 0;        // 0 Celsius; above 0 Fahrenheit
    int32_t mode_flag[4] = {};           // mode k offered by the panel; never stored
    int32_t speed_flag[5] = {};          // fan speed k offered by the panel; never stored
    int32_t status = 0;                  // 0 off, 1 on
    int32_t mode = 0;                    // 0 cool, 1 heat, 2 fan, 3 auto
    int32_t speed = 0;                   // 0 auto, 1 high, 2 medium, 3 low
    int32_t current_temperature = 0;     // set point of a floor-heating circuit
    int32_t current_cool_temperature = 0;
    int32_t current_heat_temperature = 0;
    int32_t current_auto_temperature = 0;
    int32_t current_dry_temperature = 0; // read from the panel and written back, never shown
    int32_t air_conditioner_type = 0;    // 0 via panel, 1 via IR
    int32_t original_type = 0;           // device type from the firmware reply
    int32_t subnet_id = 0;               // bus address of the panel, IR module or controller
    int32_t device_id = 0;
    int32_t channel = 0;                 // panel unit, IR port (1 "Patch A", 2 "Patch B") or circuit
    int32_t air_conditioner_no = 0;      // 0 to 3; with room_id the key of the row
    int32_t room_temperature = 0;        // in the unit of temperature_unit
    int32_t room_temperature_type = 0;   // 0 shown, 1 hidden
    int32_t room_id = 0;
    char remark[128] = {};               // the unit's name, UTF-8, NUL-terminated
    char function[128] = {};             // carried with the row, unused by the items
    char high_limit[128] = {};           // "%d-%d-%d" cool, heat, auto; floor heating "%d"
    char low_limit[128] = {};            // same form
    char version[128] = {};              // the device's firmware text
};
