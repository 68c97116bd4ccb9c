#!/bin/sh
# Builds the Debian package from a configured build tree, runs lintian on it,
# checks what it holds and what it depends on, unpacks it into a throw-away
# root, checks the metadata, manual page, copyright file and changelog there,
# checks that the built and the packaged program are hardened (HARDENED=1: an
# optimised build without the sanitizers), and starts the unpacked program in
# a virtual X server.
#   package_test.sh BUILD_DIR APP_ID HARDENED
set -eu

if [ "${1:-}" = --start ]; then
    # Inside the X server: the window must come up, and SIGTERM must end the
    # program cleanly.
    "$2" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Calculator$' | head -n 1)
    if [ -z "$window" ]; then
        kill -KILL "$pid" 2>/dev/null || true
        echo "FAIL: the unpacked program showed no window named Calculator" >&2
        exit 1
    fi
    kill -TERM "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || { echo "FAIL: the unpacked program ended with $status" >&2; exit 1; }
    exit 0
fi

build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/../.." && pwd)
id=$2
hardened=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# gzip -9n: the best compression, no stored file name or time stamp.
check_gzip() { # file, what it is
    file -b "$1" | grep -q 'gzip compressed data, max compression' ||
        fail "$2 is not gzip -9 compressed"
    file -b "$1" | grep -E -q 'was |last modified' && fail "$2 keeps a name or time stamp"
    return 0
}

# A tight umask must not leak into the package's folder permissions.
(umask 077 && cpack --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
set -- "$work"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one .deb, found: $*"
deb=$1

# What the archive would say: no error and no warning, and in a hardened build
# no hardening tag either. Other informational tags are not counted.
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || lintian_status=$?
grep -E '^[EW]: ' "$work/lintian" >&2 && fail "lintian has errors or warnings"
[ "$hardened" = 1 ] && grep -E '^.: .* hardening-' "$work/lintian" >&2 && fail "lintian has hardening tags"
[ "${lintian_status:-0}" -eq 0 ] || { cat "$work/lintian" >&2; fail "lintian failed"; }

# Exactly the program, its menu entry, its icon, its metadata, its manual page,
# its copyright file and its changelog; nothing from the build.
dpkg -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$work/files"
cat >"$work/expected" <<LIST
./usr/bin/calculator
./usr/share/applications/$id.desktop
./usr/share/doc/calculator/changelog.gz
./usr/share/doc/calculator/copyright
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/calculator.1.gz
./usr/share/man/pt_BR/man1/calculator.1.gz
./usr/share/metainfo/$id.metainfo.xml
LIST
diff -u "$work/expected" "$work/files" || fail "unexpected file list"

dpkg-deb -f "$deb" Package Architecture >"$work/control"
grep -qx 'Package: calculator' "$work/control" || fail "wrong package name"
grep -qx "Architecture: $(dpkg --print-architecture)" "$work/control" || fail "wrong architecture"
for recommended in qt6-wayland libpulse0 qt6-translations-l10n; do
    dpkg-deb -f "$deb" Recommends | grep -qw "$recommended" || fail "the package does not recommend $recommended"
done
depends=$(dpkg -I "$deb" | sed -n 's/^ Depends: //p')
for library in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
    case ", $depends," in
    *", $library "* | *", $library,"*) ;;
    *) fail "Depends lacks $library: $depends" ;;
    esac
done

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" ||
    fail "the packaged menu entry is not valid"
file -b "$root/usr/share/icons/hicolor/scalable/apps/$id.svg" | grep -q SVG ||
    fail "the packaged icon is no SVG image"
grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop" ||
    fail "the menu entry does not name the icon $id"
# As a software centre sees the installed files: the metadata, and the menu
# entry it launches.
appstreamcli validate-tree --no-net --pedantic "$root" >"$work/appstream" 2>&1 ||
    { cat "$work/appstream" >&2; fail "the packaged metadata is not valid"; }
grep -E '(pedantic|infos|warnings|errors): [0-9]' "$work/appstream" >&2 &&
    fail "appstreamcli has remarks on the packaged metadata"
file -b "$root/usr/bin/calculator" | grep -q 'ELF.*, stripped' || fail "the program is no stripped ELF binary"
# Control flow marks are not asked for: Debian 12's C start-up files carry
# none, so no program linked there has them.
if [ "$hardened" = 1 ]; then
    hardening-check --nocfprotection "$build/calculator/calculator" "$root/usr/bin/calculator" \
        >"$work/hardening" 2>&1 || { cat "$work/hardening" >&2; fail "a program is not hardened"; }
fi
# Compressed as lintian wants it, and shown by man without a warning.
for page in "$root"/usr/share/man/man1/calculator.1.gz "$root"/usr/share/man/pt_BR/man1/calculator.1.gz; do
    check_gzip "$page" "the manual page $page"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null |
        tee "$work/man" >&2
    [ ! -s "$work/man" ] || fail "man warns about the manual page $page"
done
# The copyright file is in the machine-readable format and grants what LICENSE
# grants, word for word.
copyright="$root/usr/share/doc/calculator/copyright"
head -n 1 "$copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the copyright format 1.0"
awk 'BEGIN { RS = "" } { last = $0 } END { print last }' "$copyright" >"$work/licence"
head -n 1 "$work/licence" | grep -qx 'License: MIT' || fail "the copyright file ends with no MIT licence"
tail -n +2 "$work/licence" | sed 's/^ //; s/^\.$//' >"$work/licence.text"
sed -n '/^Permission/,$p' "$source/LICENSE" | diff -u - "$work/licence.text" ||
    fail "the copyright file's licence differs from LICENSE"

# The changelog names this version, and is compressed like the manual page.
changelog="$root/usr/share/doc/calculator/changelog.gz"
check_gzip "$changelog" "the changelog"
version=$(dpkg-deb -f "$deb" Version)
zcat "$changelog" | dpkg-parsechangelog -l - -S Version | grep -qx "$version" ||
    fail "the changelog's latest entry is not version $version"

# The running program names its menu entry, so that desktops match its windows.
grep -aqF "$id" "$root/usr/bin/calculator" || fail "the program does not carry the id $id"

cd "$work"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --start "$root/usr/bin/calculator" ||
    fail "the unpacked program did not start and stop cleanly"
echo "ok: $(basename "$deb") holds $(wc -l <"$work/files") files and starts"
