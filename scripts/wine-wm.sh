# Sourced: whether the X display has a window manager, and how Wine manages the program's windows
# because of it.

# True when a window manager runs on $DISPLAY (the current ones announce themselves on the root
# window). Without xprop nothing can be told: one is assumed.
wine_window_manager_running() {
    command -v xprop >/dev/null 2>&1 || return 0
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Without a window manager (a bare X server such as Xvfb), Wine's X11 driver waits up to two seconds
# for one each time it hides a window it counts as managed (the full-screen picture, the slide show,
# dialogs), and the window stays on the screen meanwhile. There the program runs with Wine's windows
# unmanaged, as the tests do; with a window manager, as Wine does by default. The setting is the
# program's own (AppDefaults) in the prefix given.
wine_choose_window_management() {
    local prefix=$1
    local key='HKCU\Software\Wine\AppDefaults\tessarine.exe\X11 Driver'
    if wine_window_manager_running; then
        WINEPREFIX=$prefix wine reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
    else
        WINEPREFIX=$prefix wine reg add "$key" /v Managed /d N /f >/dev/null 2>&1 || true
    fi
}
