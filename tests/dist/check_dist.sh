#!/usr/bin/env bash
# The desktop files validate, an install holds exactly the expected files, and the Debian
# package builds with its dependencies.
# Usage: check_dist.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1
build=$2
id=example.ostrel.MediaPlayer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The files as the build writes them from their templates and the table of media types.
desktop-file-validate "$build/dist/$id.desktop" | tee "$work/desktop.log"
if grep -v '^hint' "$work/desktop.log" | grep -q .; then
  echo "desktop entry: not clean" >&2
  exit 1
fi
appstreamcli validate --no-net "$build/dist/$id.metainfo.xml"

# The entry opens files (as URIs), and offers the player for the same types the metainfo names.
grep -qx 'Exec=ostrel %U' "$build/dist/$id.desktop"
entry_types=$(sed -n 's/^MimeType=//p' "$build/dist/$id.desktop" | tr ';' '\n' | grep . | sort)
provided_types=$(sed -n 's:.*<mediatype>\(.*\)</mediatype>.*:\1:p' "$build/dist/$id.metainfo.xml" | sort)
if [ -z "$entry_types" ] || [ "$entry_types" != "$provided_types" ]; then
  echo "the entry's and the metainfo's media types differ" >&2
  diff <(echo "$entry_types") <(echo "$provided_types") >&2 || true
  exit 1
fi

expected="./usr/bin/ostrel
./usr/bin/ostrel-reg
./usr/share/applications/$id.desktop"
for size in 128 16 24 256 32 48 512 64; do
  expected+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
expected+=$'\n'"./usr/share/icons/hicolor/scalable/apps/$id.svg"
expected+=$'\n'"./usr/share/metainfo/$id.metainfo.xml"

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$work/root" && find . -type f -o -type l | sort)
if [ "$installed" != "$(sort <<<"$expected")" ]; then
  echo "installed files differ:" >&2
  diff <(sort <<<"$expected") <(echo "$installed") >&2 || true
  exit 1
fi

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
package=$(ls "$work"/package/ostrel_*_*.deb)
info=$(dpkg-deb --info "$package")
echo "$info" | grep -E '^ (Package|Version|Depends|Recommends):'
for dependency in libmpv2 fonts-liberation qt6-qpa-plugins libqt6widgets6 libsqlite3-0 libc6; do
  if ! echo "$info" | grep -E '^ Depends:' | grep -qw "$dependency"; then
    echo "the package does not depend on $dependency" >&2
    exit 1
  fi
done
if ! echo "$info" | grep -E '^ Recommends:' | grep -qw qt6-wayland; then
  echo "the package does not recommend qt6-wayland" >&2
  exit 1
fi
packaged=$(dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '/$' | sort)
if [ "$packaged" != "$(sort <<<"$expected")" ]; then
  echo "packaged files differ:" >&2
  diff <(sort <<<"$expected") <(echo "$packaged") >&2 || true
  exit 1
fi
echo "dist: all good"
