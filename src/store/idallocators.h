#pragma once

// The application's own record numbers. Each allocator answers the smallest
// number, counting from its start value, that no row of its table holds; numbers
// of deleted rows are handed out again. A number is not reserved: it is taken only
// once the caller inserts a row holding it. When the rows cannot be read, an
// allocator answers -1: no number is handed out that might already be taken.

int getRoomTemplateId();
int getRegionId();
int getFloorId();
int getRoomId();
// Counts each light once: its single row (rgb 0) or its first channel row (rgb 1).
int getLightId();
int getTemplateLightId();
// A room's air conditioners are numbered from 0 (0 and 1 are its two units);
// answers 2 when both are taken.
int getACNO(int room_id);
// A room's floor-heating circuits are numbered from 2 (2 and 3 are its two
// circuits); answers 4 when both are taken.
int getFHNO(int room_id);
int getPanelId();
int getTemplatePanelId();
int getMessageId();
int getMoodId();
