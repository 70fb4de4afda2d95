# Sourced: what the set-up and test scripts need to change the machine itself, whoever runs them.

# True for root, and for a user whom sudo lets run commands without a password (sudo asks nothing:
# a user it would refuse sees no prompt and no refusal).
can_be_root() {
    [ "$(id -u)" = 0 ] || { command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; }
}

# Runs a command as root: as it is for root, through sudo for another user whom sudo lets. Fails with
# 127 when neither can.
as_root() {
    if [ "$(id -u)" = 0 ]; then
        "$@"
    elif can_be_root; then
        sudo -n -- "$@"
    else
        return 127
    fi
}

# Waits for the machine-wide lock named, on descriptor 8. Every user can take it: a lock file another
# user made is opened for reading, which flock needs no more than.
machine_lock() {
    local path=/tmp/tessarine-$1.lock
    if ! { [ -e "$path" ] && exec 8<"$path"; } 2>/dev/null; then
        exec 8>>"$path"
        chmod a+r "$path" 2>/dev/null || true
    fi
    flock 8
}

machine_unlock() {
    exec 8<&-
}

# A path as the shell reads it back whole, blanks and quotes included: for a command printed to be
# pasted ("run '/home/Zoé Lefèvre/Mes projets/tessarine/scripts/setup.sh' once as root").
shell_quote() {
    local q="'\\''"
    printf "'%s'" "${1//\'/$q}"
}

# Where cups-pdf writes the caller's jobs: "PDF" in the home folder the password database gives the
# job's user.
pdf_folder() {
    echo "$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
}
