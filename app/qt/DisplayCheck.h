// Whether the program has a display to show its windows on, asked before the toolkit starts:
// without one the toolkit aborts after a message about its plugins.
#pragma once

namespace tessarline {

// True when a display the toolkit is to use answers, or when the platform chosen needs none.
// With no platform chosen and no X server, a Wayland compositor that answers is chosen. False
// after saying on stderr, in one line, that there is no display and how to give one.
bool FindDisplay(int argc, char* argv[]);

} // namespace tessarline
