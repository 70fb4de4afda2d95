# Sourced: how names cross between Linux and Wine. The Windows programs name files in the ANSI code
# page Windows-1252 (wine-env.sh), the Linux folders through Wine's Z: drive: a folder whose path has a
# letter outside it ("Ł" of "/home/Łukasz") cannot be named there at all.

# Stops the calling script with one line when the path has such a letter:
# code_page_require WHO WHAT PATH, WHAT saying which folder it is ("the clone").
code_page_require() {
    local who=$1 what=$2 path=$3
    printf '%s' "$path" | iconv -f UTF-8 -t WINDOWS-1252 >/dev/null 2>&1 && return 0
    echo "$who: $what $path has a letter outside Windows-1252 (Western European), the code page in which programs under Wine name files: they cannot reach it" >&2
    exit 1
}

# Wine writes Linux names in the locale's character set. A plain ASCII locale ("C", "POSIX", or none at
# all, as a new account has) has no accented letter: the library's "Images Protégées" is not made, and
# a path winepath gives has "é" as "C)". Wine then runs in UTF-8, as Linux names files, with the same
# Windows locale.
wine_writes_utf8() {
    [ "$(locale charmap 2>/dev/null)" = ANSI_X3.4-1968 ] || return 0
    export LC_ALL=C.UTF-8
}
