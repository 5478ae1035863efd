#pragma once
// Ids of the resources built into tolvane.exe.

#define IDB_STAGE1 101
#define IDB_STAGE2 102
#define IDB_STAGE3 103
