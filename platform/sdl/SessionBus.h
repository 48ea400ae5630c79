#pragma once

#include <string>

// SDL opens the desktop's D-Bus session bus when its video starts (for the
// screensaver and input methods). With no session bus to find, the system's
// D-Bus library would start one of its own (dbus-launch) that outlives the
// game on the player's display and serves nothing: a bus made on demand has
// no screensaver or input method on it. The game keeps off such a bus; a bus
// that exists, or an address the user gave, is used as before.
class SessionBus
{
public:
    // The address variable D-Bus reads, and the value that tells its clients
    // (SDL's libdbus, and GLib in a helper such as zenity) there is no bus.
    static constexpr const char* kAddressVariable = "DBUS_SESSION_BUS_ADDRESS";
    static constexpr const char* kNoBus = "disabled:";

    // True when a session bus can be reached without starting one: an
    // address is given, or the user's runtime folder holds the bus socket.
    static bool IsReachable();
    // Before SDL starts: with no bus to reach, tells D-Bus clients of this
    // process and its children that there is none. Safe to call again.
    static void KeepOffAnAbsentBus();
};
