// The program's version, in the one place it is written: the version resource carries it,
// and scripts/release names the release after SKELVANE_VERSION_TEXT.
#define SKELVANE_VERSION 1, 0, 0, 0
#define SKELVANE_VERSION_TEXT "1.00"
