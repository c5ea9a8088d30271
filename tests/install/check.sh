#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree and the installed programs:
# the files in their places, a valid desktop entry whose Exec finds the installed program, a
# manual page naming every option, a catalogue made with no settings file anywhere, the user's
# settings folder honoured, the window program starting, and nothing written into the tree.
#   check.sh BUILD_DIR MAKE_PHOTO WITH_WINDOWS(0|1)
set -euo pipefail
build="$1"
photo="$2"
windows="$3"
work="$(mktemp -d "${TMPDIR:-/tmp}/tessaly-install.XXXXXX")"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
need() { [ -e "$prefix/$1" ] || fail "$1 not installed"; }
made() { for file; do [ -f "$file" ] || fail "$file not made"; done; }

cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/tessaly-batch" ] || fail "bin/tessaly-batch not installed"
need share/man/man1/tessaly-batch.1.gz
if [ "$windows" = 1 ]; then
    [ -x "$prefix/bin/tessaly" ] || fail "bin/tessaly not installed"
    need share/icons/hicolor/scalable/apps/tessaly.svg
    need share/tessaly/Quorvel.hlp
    entry="$prefix/share/applications/tessaly.desktop"
    need share/applications/tessaly.desktop
    desktop-file-validate "$entry" || fail "desktop entry not valid"
    grep -q '^Name\[ja\]=' "$entry" || fail "desktop entry has no Japanese name"
    grep -q '^Comment\[ja\]=' "$entry" || fail "desktop entry has no Japanese comment"
    command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ "$(PATH="$prefix/bin" command -v "$command")" = "$prefix/bin/tessaly" ] ||
        fail "Exec=$command does not name the installed program"
fi

# The manual page names every option that the modes' usage texts list.
batch="$prefix/bin/tessaly-batch"
manual=$(gzip -dc "$prefix/share/man/man1/tessaly-batch.1.gz" | sed 's/\\-/-/g')
for mode in "" "--toc . " "--convert-bmp " "--convert " "--rotate right " "--check-privacy "; do
    # shellcheck disable=SC2086
    for option in $("$batch" $mode--help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" <<<"$manual" || fail "manual page lacks $option"
    done
done

# A user without any settings file: the catalogue is made with the defaults, and nothing is
# written into the installation or the user's configuration folder.
export HOME="$work/home" TMPDIR="$work/tmp"
unset XDG_CONFIG_HOME
mkdir -p "$HOME" "$TMPDIR" "$work/photos"
"$photo" "$work/photos/a.jpg" 90 60 1
"$photo" "$work/photos/b.jpg" 60 90 2
snapshot() { find "$prefix" -printf '%p %s %T@\n' | sort; }
before=$(snapshot)
"$batch" -q "$work/photos" || fail "the installed tessaly-batch failed"
made "$work/photos/index.htm" "$work/photos/htm_image/a.jpg"
[ -z "$(find "$work" -name Quorvel.ini)" ] || fail "a settings file appeared"

# The user's settings folder is the one read.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/tessaly"
# A version 1.31 file (pairs 1 to 28) with the defaults but for the page and folder names.
values=("" 8421504 "" "" "" "" 0 0 95 on 7 0 "ＭＳ Ｐ明朝" "標準" 16777215 off off 110 150 off off
    off 3 80 off off fromconfig.htm thumbs)
{
    printf 'Quorvel Ver1.31\r\n'
    for i in "${!values[@]}"; do printf '[%s]\r\n%s\r\n' "$((i + 1))" "${values[$i]}"; done
} | iconv -f UTF-8 -t CP932 >"$XDG_CONFIG_HOME/tessaly/Quorvel.ini"
"$batch" -q "$work/photos" || fail "the installed tessaly-batch failed with user settings"
made "$work/photos/fromconfig.htm" "$work/photos/thumbs/b.jpg"  # the user's names

# The window program starts from the installed tree (and keeps running until it is ended).
if [ "$windows" = 1 ]; then
    export XDG_CONFIG_HOME="$work/fresh-config"
    QT_QPA_PLATFORM=offscreen "$prefix/bin/tessaly" >"$work/window.log" 2>&1 &
    pid=$!
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "the installed tessaly ended at once: $(cat "$work/window.log")"
    kill "$pid"
    wait "$pid" || true
    grep -q 'qtbase_ja' "$work/window.log" && fail "Qt's Japanese translation not found"
    [ ! -e "$XDG_CONFIG_HOME/tessaly" ] || fail "tessaly wrote settings without being asked"
fi
[ "$(snapshot)" = "$before" ] || fail "something was written into the installation"
echo "install tree checked: $prefix"
