# Sourced: the Marlett font that Debian's Wine ships, copied into a prefix's Fonts folder. Wine
# does not look for it in its own data folder, so caption buttons (Wine's and the program's) would
# show the letters "0 1 r" instead of their symbols.

# Before the prefix is made (wineboot keeps the file): nothing needs restarting.
wine_seed_marlett() {
    local prefix=$1
    local source=/usr/share/wine/fonts/marlett.ttf
    [ -f "$source" ] || return 0
    mkdir -p "$prefix/drive_c/windows/Fonts"
    [ -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ] || cp "$source" "$prefix/drive_c/windows/Fonts/marlett.ttf"
}

# Into an existing prefix: its wineserver is restarted when the font was added, so that the next
# program sees it.
wine_install_marlett() {
    local prefix=$1
    local source=/usr/share/wine/fonts/marlett.ttf
    local fonts="$prefix/drive_c/windows/Fonts"
    [ -f "$source" ] && [ -d "$fonts" ] || return 0
    [ -f "$fonts/marlett.ttf" ] && return 0
    cp "$source" "$fonts/marlett.ttf"
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
}
