#!/usr/bin/env bash
# The installed game, checked as a player's machine would see it:
#   checks.sh install|tree|metadata|command-line|headless|game|package
# Environment: BUILD (the build folder), STAGE (where the install goes, as
# DESTDIR with prefix /usr), APP_ID, VERSION, SOURCE (the repository).
set -uo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is missing; tools/setup.sh installs it"
    done
}
usr="$STAGE/usr"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Width and height of a PNG file, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'
}

install_tree() {
    rm -rf "$STAGE"
    DESTDIR="$STAGE" cmake --install "$BUILD" --prefix /usr >"$scratch/log" 2>&1 ||
        fail "cmake --install: $(cat "$scratch/log")"
}

check_tree() {
    local data="$usr/share/korvath"
    for exe in korvath korvath-headless; do
        [ -x "$usr/bin/$exe" ] || fail "bin/$exe is not installed"
    done
    for f in graphics/korfront.jpg graphics/icon.png scenarios/korvath.map scenarios/vexlar.map \
        sound/KorvathWavs.dxw readme.txt \
        savedgames/QuickStartGame_korvath.map savedgames/QuickStartGame_korvath.dat \
        savedgames/QuickStartGame_korvath.Txt savedgames/QuickStartGame_vexlar.map \
        "share/applications/$APP_ID.desktop" "share/metainfo/$APP_ID.metainfo.xml" \
        share/man/man6/korvath.6.gz share/man/man6/korvath-headless.6.gz \
        share/doc/korvath/copyright share/doc/korvath/changelog.gz; do
        case "$f" in share/*) f="$usr/$f" ;; *) f="$data/$f" ;; esac
        [ -s "$f" ] || fail "${f#"$STAGE"} is missing or empty"
    done
    # Only the game's data goes to share/korvath: no programs, no games
    # saved while playing in the build folder.
    local stray
    stray=$(cd "$data" && find . -type f \( -perm -u+x -o -path './savedgames/*' \) \
        ! -name 'QuickStartGame_*')
    [ -z "$stray" ] || fail "share/korvath holds files that are not game data: $stray"
    for size in 48 128 256; do
        local icon="$usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
        [ -f "$icon" ] || fail "no ${size}-pixel icon"
        [ "$(png_size "$icon")" = "${size}x${size}" ] ||
            fail "the ${size}-pixel icon is $(png_size "$icon")"
    done
}

check_metadata() {
    need desktop-file-validate appstreamcli man
    desktop-file-validate "$usr/share/applications/$APP_ID.desktop" ||
        fail "desktop-file-validate"
    appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$APP_ID.metainfo.xml" ||
        fail "appstreamcli validate"
    grep -q "<release version=\"$VERSION\"" "$usr/share/metainfo/$APP_ID.metainfo.xml" ||
        fail "the metadata's newest release is not $VERSION"
    # Every screenshot the metadata names is one of the pictures in docs/.
    local shots
    shots=$(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' \
        "$usr/share/metainfo/$APP_ID.metainfo.xml")
    [ -n "$shots" ] || fail "the metadata names no screenshots"
    for shot in $shots; do
        [ -f "$SOURCE/docs/$shot" ] || fail "screenshot $shot is not in docs/"
    done
    # The manual pages render without a complaint from man or groff.
    for page in korvath korvath-headless; do
        local warnings
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
            "$usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "manual page $page: $warnings"
    done
}

# A program's answers to --help, --version and an unknown option.
check_options() {
    local name=$1 exe=$2
    local out err status
    out=$("$exe" --help 2>"$scratch/err")
    status=$?
    [ $status -eq 0 ] || fail "$name --help exits with $status: $(cat "$scratch/err")"
    [[ "$out" == "Usage: $name "* ]] || fail "$name --help: $out"
    grep -q -- '--version' <<<"$out" || fail "$name --help lists no options"
    out=$("$exe" --version 2>/dev/null)
    [ "$out" = "$name $VERSION" ] || fail "$name --version: $out"
    out=$("$exe" --no-such-option 2>"$scratch/err")
    status=$?
    err=$(cat "$scratch/err")
    [ $status -eq 2 ] || fail "$name --no-such-option exits with $status"
    [ -z "$out" ] || fail "$name --no-such-option writes to standard output"
    grep -q "^Usage: $name " <<<"$err" || fail "$name --no-such-option: $err"
}

check_command_line() {
    # No display at all: the answers must come before any window system is needed.
    (
        unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
        check_options korvath "$usr/bin/korvath"
        check_options korvath-headless "$usr/bin/korvath-headless"
        check_options korvath-assets "$BUILD/tools/assets/korvath-assets"
    ) || exit 1
    # Qt's own options still reach Qt: the game starts (and is ended here).
    cd "$scratch"
    HOME="$scratch" SDL_AUDIODRIVER=dummy timeout 2 "$usr/bin/korvath" -platform offscreen \
        -style=fusion 2>"$scratch/err"
    local status=$?
    [ $status -eq 124 ] || fail "korvath -platform offscreen -style=fusion ended ($status): $(cat "$scratch/err")"
}

check_headless() {
    # Found on PATH, from a folder without a game, with no --data: the installed
    # game folder and its quick-start game are found from the program's own place.
    cd "$scratch"
    local json
    json=$(printf '%s\n' 'start korvath 3' 'menu Loadgame savedgames/QuickStartGame_korvath.map' \
        'dump' 'button EndTurn' 'dump' | PATH="$usr/bin:$PATH" korvath-headless 2>"$scratch/err") ||
        fail "korvath-headless: $(cat "$scratch/err")"
    [ "$(wc -l <<<"$json")" -eq 2 ] || fail "korvath-headless printed: $json $(cat "$scratch/err")"
    local loaded ended
    loaded=$(sed -n 1p <<<"$json")
    ended=$(sed -n 2p <<<"$json")
    grep -q '"Game has been loaded"' <<<"$loaded" || fail "the quick-start game did not load: $loaded"
    grep -q '"ScenarioName":"korvath"' <<<"$loaded" || fail "not the Korvath battle: $loaded"
    grep -q '"TurnNumber":2' <<<"$ended" || fail "the turn did not end: $ended"
}

check_game() {
    # Started as the menu entry starts it, by its Exec line, found on PATH.
    local exec
    exec=$(sed -n 's/^Exec=//p' "$usr/share/applications/$APP_ID.desktop")
    [ -n "$exec" ] || fail "the menu entry has no Exec line"
    cd "$scratch"
    PATH="$usr/bin:$PATH" HOME="$scratch" XDG_DATA_HOME="$scratch/data" \
        QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy $exec 2>"$scratch/err" &
    local pid=$!
    sleep 2
    kill -0 $pid 2>/dev/null || fail "korvath ended within 2 seconds: $(cat "$scratch/err")"
    kill $pid
    wait $pid 2>/dev/null
    # It read its pictures, texts and sounds: the game's own complaints start "korvath:".
    ! grep '^korvath:' "$scratch/err" || fail "korvath could not read its game folder"
}

check_package() {
    need cpack dpkg-deb dpkg-shlibdeps lintian
    (cd "$BUILD" && cpack -G DEB -B "$scratch") >"$scratch/cpack.log" 2>&1 ||
        fail "cpack: $(cat "$scratch/cpack.log")"
    local deb
    deb=$(ls "$scratch"/korvath_"$VERSION"_*.deb) || fail "cpack made no korvath_$VERSION .deb"
    # The package holds exactly what cmake --install puts down.
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort >"$scratch/package"
    (cd "$STAGE" && find . ! -type d | sed 's|^\./||' | sort) >"$scratch/install"
    diff -u "$scratch/install" "$scratch/package" || fail "the package differs from the install"
    [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libqt6widgets6 libsdl2-mixer libjpeg62-turbo libc6; do
        grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
    done
    lintian --fail-on error "$deb" >"$scratch/lintian" 2>&1 ||
        fail "lintian: $(cat "$scratch/lintian")"
    # Its warnings show in the test's output.
    grep -v 'running with root privileges' "$scratch/lintian"
    return 0
}

case "${1:-}" in
install) install_tree && check_tree ;;
metadata) check_metadata ;;
command-line) check_command_line ;;
headless) check_headless ;;
game) check_game ;;
package) check_package ;;
*) fail "unknown check: ${1:-}" ;;
esac
