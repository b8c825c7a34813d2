#pragma once

// The occupation sensor and the master switch of one room, passed by value: the
// room card and the room tabs fill it from the room's rows of tbl_occupation and
// tbl_master and hand it to their OccupationMasterItem. A part's address is
// complete when its subnet, device and channel are all non-zero.

#include <cstdint>

// States of both parts.
enum OccupationMasterState { StateUnknown = 0, StateOffOrUnoccupied = 1, StateOnOrOccupied = 2 };

struct occupationMaster
{
    uint8_t occupation_subnet_id = 0;
    uint8_t occupation_device_id = 0;
    uint8_t occupation_channel = 0;
    uint8_t occupation_status = 0; // 0 unknown, 1 unoccupied, 2 occupied
    uint8_t master_subnet_id = 0;  // the output module whose channel is the master switch
    uint8_t master_device_id = 0;
    uint8_t master_channel = 0;
    uint8_t master_status = 0; // 0 unknown, 1 off, 2 on
    int32_t room_id = 0;

    bool occupationComplete() const
    {
        return occupation_subnet_id && occupation_device_id && occupation_channel;
    }
    bool masterComplete() const { return master_subnet_id && master_device_id && master_channel; }
    bool occupationEmpty() const
    {
        return !occupation_subnet_id && !occupation_device_id && !occupation_channel;
    }
    bool masterEmpty() const { return !master_subnet_id && !master_device_id && !master_channel; }
};

// The record of a room: the first row of "select * from tbl_occupation where
// room_id=%d" and of "select * from tbl_master where room_id=%d", each column cut
// to its low 8 bits; zeros where the room has no row. *ok (when given) is false,
// with zeros but the room id, when a row could not be read.
occupationMaster loadOccupationMaster(int room_id, bool *ok = nullptr);
