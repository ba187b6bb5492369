#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks what a workstation would install.
# Usage: check-package.sh SOURCE_DIR BUILD_DIR VERSION
set -uo pipefail
source_dir=$1 build_dir=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cpack --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb="$work/velcaris_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$work"; echo "FAIL: no $deb"; exit 1; }
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"
root="$work/root"

# The files at their paths.
expected=(
  usr/bin/velcaris
  usr/share/applications/velcaris.desktop
  usr/share/metainfo/pe.velcaris.velcaris.metainfo.xml
  usr/share/man/man1/velcaris.1.gz
  usr/share/icons/hicolor/scalable/apps/velcaris.svg
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/velcaris.png")
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "missing /$f"
done
[ -x "$root/usr/bin/velcaris" ] || fail "/usr/bin/velcaris is not executable"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'
}
for size in 16 48 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/velcaris.png"
  [ -f "$png" ] && [ "$(png_size "$png")" != "${size}x${size}" ] &&
    fail "$png is $(png_size "$png"), not ${size}x${size}"
done

# Everything under /usr: a package that puts files into /etc, /var or a home folder would have
# them removed or kept by rules other than the program's.
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"

# No maintainer script: removing the package must leave every shop's data where it is.
for script in preinst postinst prerm postrm; do
  [ ! -e "$work/control/$script" ] || fail "the package has a $script script"
done

# The dependencies: the libraries it links, and the Qt SQL drivers it loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6sql6-sqlite libqt6sql6-psql libqt6widgets6 libqt6sql6; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -q postgresql-client-15 <<<"$(dpkg-deb -f "$deb" Recommends)" ||
  fail "Recommends lacks postgresql-client-15"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"

# The desktop entry, the metainfo and the manual page as their own tools read them.
desktop="$root/usr/share/applications/velcaris.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=velcaris' "$desktop" || fail "the desktop entry does not run velcaris"
grep -qx 'Terminal=false' "$desktop" || fail "the desktop entry asks for a terminal"
appstreamcli validate --no-net "$root/usr/share/metainfo/pe.velcaris.velcaris.metainfo.xml" ||
  fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/pe.velcaris.velcaris.metainfo.xml" ||
  fail "the metainfo does not name release $version"

man_text=$(MANWIDTH=200 man --warnings -l "$root/usr/share/man/man1/velcaris.1.gz" 2>"$work/man.err")
[ -s "$work/man.err" ] && fail "man -l warns: $(cat "$work/man.err")"
grep -q "velcaris $version" <<<"$man_text" || fail "the manual page does not name version $version"
# Every settings key ("section/key" literals, MIME types aside) and every environment variable
# the program reads is documented.
keys=$(grep -rhoE '"[a-z]+/([a-z_]+|[A-Z])"' "$source_dir/src" "$source_dir/app" \
  --include='*.cpp' --include='*.h' | tr -d '"' |
  grep -vE '^(application|audio|font|image|text|video)/' | sort -u)
for key in $keys; do
  section=${key%%/*} name=${key#*/}
  grep -q "\[$section\] $name" <<<"$man_text" || fail "the manual page lacks the setting $key"
done
variables=$( (grep -rhoE 'qEnvironmentVariable(IsSet)?\("[A-Z_]+"\)' "$source_dir/src" "$source_dir/app"
  grep -rhoE '\{"[a-z]+/[a-zA-Z_]+", "[A-Z_]+"\}' "$source_dir/src") |
  grep -oE '"[A-Z_]+"' | tr -d '"' | sort -u)
[ -n "$variables" ] || fail "no environment variable found in the sources"
for variable in $variables; do
  grep -q "$variable" <<<"$man_text" || fail "the manual page lacks the variable $variable"
done
# Every demo user, with its code and role, as the demo shop defines them.
users=$(grep -oE '^ +\{[0-9]+, "[A-Z]+", "[A-Z ]+"' "$source_dir/src/db/DemoShop.cpp" |
  sed -E 's/^ +\{([0-9]+), "([A-Z]+)", "([A-Z ]+)"/\1 \2 \3/' | tr ' ' '_')
[ -n "$users" ] || fail "no demo user found in the sources"
for user in $users; do
  IFS=_ read -r code login role <<<"$user"
  grep -Eq "^ +$code +$login +${role//_/ } " <<<"$man_text" ||
    fail "the manual page lacks the demo user $code $login"
done

[ "$failures" -eq 0 ] && echo "package $deb: all checks passed"
exit $((failures > 0))
