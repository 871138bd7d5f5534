#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks the files it installs and
# runs gyrel-cli from the unpacked tree. Usage: check_deb.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/gyrel_"$version"_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"

missing=0
for f in /usr/bin/gyrel /usr/bin/gyrel-cli \
         /usr/share/applications/gyrel.desktop \
         /usr/share/icons/hicolor/scalable/apps/gyrel.svg \
         /usr/share/man/man1/gyrel-cli.1.gz \
         /usr/share/bash-completion/completions/gyrel-cli \
         /usr/share/doc/gyrel/README.md /usr/share/doc/gyrel/copyright; do
  grep -qx "$f" "$work/contents" || { echo "not in the package: $f"; missing=1; }
done
# Nothing outside /usr, and none of the build's libraries or tests.
if grep -v '^/usr' "$work/contents" | grep -qv '^/$'; then echo "outside /usr:"; grep -v '^/usr' "$work/contents"; missing=1; fi
if grep -Eq '\.(a|so)$|gyrel_tests' "$work/contents"; then echo "build products that do not belong:"; grep -E '\.(a|so)$|gyrel_tests' "$work/contents"; missing=1; fi
[ "$missing" = 0 ] || exit 1

dpkg-deb -f "$deb" Depends | grep -q libqt6serialport6 || { echo "Depends lacks the Qt runtime"; exit 1; }

dpkg-deb -x "$deb" "$work/root"
grep -Eq '^Categories=.*(Development|Engineering);' "$work/root/usr/share/applications/gyrel.desktop" ||
  { echo "the menu entry is in no Development or Engineering category"; exit 1; }
got=$("$work/root/usr/bin/gyrel-cli" --version)
[ "$got" = "gyrel-cli $version" ] || { echo "gyrel-cli --version said: $got"; exit 1; }
zcat "$work/root/usr/share/man/man1/gyrel-cli.1.gz" | grep -q '^\.SS "preset read"' || { echo "manual page lacks preset read"; exit 1; }
zcat "$work/root/usr/share/man/man1/gyrel-cli.1.gz" | grep -q '64  usage error' || { echo "manual page lacks the exit codes"; exit 1; }
bash -n "$work/root/usr/share/bash-completion/completions/gyrel-cli" || { echo "completion script is not valid bash"; exit 1; }
echo "package $(basename "$deb"): $(wc -l <"$work/contents") entries, gyrel-cli --version ok"
