/*
 * IDs of the resources built into KV7Inspect.exe, shared by the resource script and the
 * program. Plain defines only: the resource compiler reads this file too.
 */
#pragma once

#define IDI_KV7 1
#define IDB_BOARD 100
