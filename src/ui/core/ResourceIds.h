#pragma once
// Resource numbers shared by res/Tolvane.rc and the code; plain defines so
// the resource compiler can read this file too.
#define IDI_TOLVANE 1        /* the program's icon; the window layer loads number 1 */
#define IDB_TOLVANE_LOGO 101 /* the splash screen's 172 x 172 picture */
