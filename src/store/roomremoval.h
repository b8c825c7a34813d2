#pragma once

// Removal of a room with everything that belongs to it.

// Deletes the room's devices, 3-D placements, moods with their states and
// commands, stored messages, panels, occupation sensor, master switch, pictures
// and the room itself, then a floor or region no room uses any more, all in one
// transaction. Once it committed, announces signalsRemoveMessage(room_id, 1) on the
// hub; when it failed nothing is removed and nothing announced.
void removeRoom(int room_id);
