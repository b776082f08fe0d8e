// Resource identifiers of the Windows program, shared by its resource script (app/win32) and the
// windows that load the icon and the picture from the program's module.
#pragma once

#define IDI_TESSARLINE 1 // the application icon (five images)
#define IDB_FIGURE 2     // the help dialog's 50 by 50 picture of the figure
