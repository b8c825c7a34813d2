#pragma once

// Removal of a room with everything that belongs to it.

// Deletes the room's devices, 3-D placements, moods with their states and
// commands, stored messages, panels, occupation sensor, master switch, pictures
// and the room itself, then a floor or region no room uses any more. Always ends
// by announcing signalsRemoveMessage(room_id, 1) on the hub.
void removeRoom(int room_id);
