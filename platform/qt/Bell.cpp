#include "platform/qt/Bell.h"

#include <QApplication>

#include <canberra.h>

namespace tessarline {

namespace {

// One context for the program's life, made at the first refused move: it connects to the sound
// server, which a player who never makes one never needs.
ca_context* Sounds() {
    static ca_context* const context = [] {
        ca_context* made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS) {
            return static_cast<ca_context*>(nullptr);
        }
        ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "Tessarline",
                                CA_PROP_APPLICATION_ID, "com.korven.tessarline", nullptr);
        return made;
    }();
    return context;
}

} // namespace

void Bell() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        QApplication::beep();
        return;
    }
    if (ca_context* sounds = Sounds()) {
        // The theme looks the name up from the most specific: a theme without a window-system
        // bell plays its plain "bell".
        ca_context_play(sounds, 0, CA_PROP_EVENT_ID, "bell-window-system",
                        CA_PROP_EVENT_DESCRIPTION, "Move refused", nullptr);
    }
}

} // namespace tessarline
