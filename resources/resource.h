#pragma once
// Resource identifiers shared by the .rc file and the code.
#define IDI_SKELVANE 1
// Pictures: IDB_PICTURES + 10 x picture (1 logo, 2 placeholder, 3 tick, 4 cross) + scale's place.
#define IDB_PICTURES 1000
#define IDA_MAIN 200
#define IDM_COPY_RESULTS 40001
#define IDM_CHECK_AGAIN 40002
#define IDM_ROW_ACTION 40003
