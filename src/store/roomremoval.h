#pragma once

// Removal of a room with everything that belongs to it.

// Deletes the room's devices, 3-D placements, moods with their states and
// commands, stored messages, panels, occupation sensor, master switch, pictures
// and the room itself, then a floor or region no room uses any more, all in one
// transaction. Once it committed, announces signalsRemoveMessage(room_id, 1) on the
// hub. Answers false, with nothing removed and nothing announced, when a row could
// not be read or written; inside a larger transaction that one then rolls back too
// (true there means only that this room's part was written).
bool removeRoom(int room_id);
