#pragma once
// Resource identifiers shared by the .rc file and the code.
#define IDI_SKELVANE 1
#define IDB_LOGO 101
#define IDB_PLACEHOLDER 102
#define IDB_TICK 103
#define IDB_CROSS 104
#define IDA_MAIN 200
#define IDM_COPY_RESULTS 40001
#define IDM_CHECK_AGAIN 40002
