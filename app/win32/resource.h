// Resource identifiers shared by the resource script and the Windows code.
#pragma once

#define IDI_TESSARLINE 1 // the application icon (five images)
#define IDB_FIGURE 2     // the help dialog's 50 by 50 picture of the figure
