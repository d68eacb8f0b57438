#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user gets: the
# programs, the desktop entry, the icons, the manual pages (rendered without a
# warning) and the help page; the Debian package holds the same files; and an
# installed program asks the service for no new release of itself.
#
#   install_test.sh BUILD_DIR VERSION
set -euo pipefail

build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install failed"; }

expected=(
  bin/kvqt bin/kvqt-config bin/kvqt-info bin/kvqt-server bin/tarnswap
  share/applications/kvqt.desktop
  share/doc/kvqt/kvqt.html
  share/man/man1/kvqt.1 share/man/man1/kvqt-config.1 share/man/man1/kvqt-info.1
  share/man/man1/kvqt-server.1 share/man/man1/tarnswap.1
)
for size in 16 22 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/kvqt.png"); done
for file in "${expected[@]}"; do [ -s "$prefix/$file" ] || fail "missing $file"; done
for program in kvqt kvqt-config kvqt-info kvqt-server tarnswap; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
done
[[ $(file "$prefix/share/icons/hicolor/48x48/apps/kvqt.png") == *"48 x 48"* ]] || fail "the 48x48 icon is not 48 x 48"
grep -qx "Icon=kvqt" "$prefix/share/applications/kvqt.desktop" || fail "the desktop entry names no icon kvqt"
grep -qx "Exec=kvqt" "$prefix/share/applications/kvqt.desktop" || fail "the desktop entry does not start kvqt"

# Every manual page renders without a warning and names the version.
for page in "$prefix"/share/man/man1/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >"$work/page.txt") || fail "man -l $page failed"
  [ -z "$warnings" ] || fail "man -l $page: $warnings"
  grep -q "kvqt $version" "$work/page.txt" || fail "$page does not carry version $version"
done

# The installed program runs from its prefix and says its version.
[ "$("$prefix/bin/kvqt" --version)" = "kvqt $version" ] || fail "kvqt --version"
help=$("$prefix/bin/kvqt" --help) || fail "kvqt --help failed"
[[ $help == "Usage: kvqt "* ]] || fail "kvqt --help: $help"

# An installed program cannot replace itself: its request asks for no release.
home=$work/home
export KVQT_HOME=$home/program XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
export QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY=
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
config=$prefix/bin/kvqt-config
echo secret12 | "$config" user 12345vqx --password-stdin >/dev/null
"$config" server 127.0.0.1:1 >/dev/null
"$config" add-dir MS "$home/charts" >/dev/null
"$config" set configure debugmode 1 >/dev/null
echo "US MS" >"$home/nightly.tsk"
if (cd "$home" && "$prefix/bin/kvqt" --headless nightly.tsk >"$work/run.out" 2>"$work/run.err"); then
  fail "a download from a closed port succeeded"
fi
grep -q "^VERSION f$version" "$KVQT_HOME/query.dat" || fail "no request written: $(cat "$work/run.err")"
! grep -q "NEWKVQT" "$KVQT_HOME/query.dat" || fail "the installed program asks for a new release"
grep -q "no new release is asked for" "$KVQT_HOME/kvqt.dbg" || fail "the debug log does not say why no release is asked for"

# The Debian package holds the same files.
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/package/kvqt_"$version"_*.deb) || fail "no kvqt_${version}_*.deb"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for file in "${expected[@]}"; do grep -qx "./usr/$file" "$work/contents" || fail "the package lacks /usr/$file"; done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* ]] || fail "the package does not depend on Qt: $depends"
echo "install_test: ok"
