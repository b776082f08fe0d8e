// The platform's plain alert sound on Linux.
#pragma once

namespace tessarline {

// The desktop's bell. On X11 the X server's bell, which desktops turn into their own sound; a
// Wayland compositor has no bell request that Qt uses, so there the freedesktop sound theme's
// bell plays through the desktop's event-sound library, under the user's sound settings.
void Bell();

} // namespace tessarline
