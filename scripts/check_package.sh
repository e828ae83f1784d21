#!/usr/bin/env bash
# Checks the Debian package with Debian's own tools, as a packager or a software centre would read
# it: both desktop entries, the AppStream metadata, the MIME type of saves, every manual page and
# icon inside it, that its changelog and metadata name its version, and lintian on the whole.
# Lintian's kept warnings are overridden, each with its reason, in dist/lintian-overrides, so any
# error or warning it reports fails the check.
#
#   scripts/check_package.sh [DEB]     default: build/default/package/mireval_*.deb
#
# Needs lintian, desktop-file-utils, appstream, shared-mime-info, groff-base and man-db
# (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -gt 0 ]; then
  deb=$1
else
  debs=(build/default/package/mireval_*.deb)
  [ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] ||
    { echo "check_package: expected one package in build/default/package, found: ${debs[*]}" >&2; exit 2; }
  deb=${debs[0]}
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

failures=0
fail() {
  echo "check_package: $*" >&2
  failures=$((failures + 1))
}

# What a tool printed, when it printed anything, fails the check: these tools warn on stdout or
# stderr and still exit 0.
quiet() {
  local what=$1
  shift
  local out
  out=$("$@" 2>&1) || { fail "$what: $out"; return; }
  [ -z "$out" ] || fail "$what: $out"
}

# The package's version, and the program's own without the Debian revision.
version=$(dpkg-deb -f "$deb" Version)
upstream=${version%-*}

# Desktop entries: both programs with a window have one, and each one is valid.
for name in mirplay mirseal; do
  [ -f "$share/applications/$name.desktop" ] || fail "no desktop entry $name.desktop"
done
for entry in "$share"/applications/*.desktop; do
  quiet "desktop-file-validate $(basename "$entry")" desktop-file-validate "$entry"
done

# AppStream: valid offline, launches an entry of this package, and names this release.
metainfo=$share/metainfo/org.example.Mireval.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" > "$scratch/appstream.txt" 2>&1 ||
    fail "appstreamcli validate: $(cat "$scratch/appstream.txt")"
  launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
  [ -f "$share/applications/$launchable" ] || fail "the metainfo launches '$launchable', not in the package"
  release=$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo" | head -n 1)
  [ "$release" = "$upstream" ] ||
    fail "the metainfo's newest release is '$release', the package's version $upstream: add a <release>"
else
  fail "no AppStream metadata ${metainfo#"$root"}"
fi

# The MIME type: shared-mime-info reads the file without a complaint, and the database it makes
# knows saves both by their name and by their first lines (it skips what it does not understand).
mime=$share/mime/packages/mireval.xml
if [ -f "$mime" ]; then
  mkdir -p "$scratch/mime/packages"
  cp "$mime" "$scratch/mime/packages/"
  quiet "xmllint on mireval.xml" xmllint --noout "$mime"
  quiet "update-mime-database on mireval.xml" \
    env XDG_DATA_HOME="$scratch" update-mime-database "$scratch/mime"
  grep -q '^[0-9]*:application/x-mireval-save:\*\.sav$' "$scratch/mime/globs2" 2>/dev/null ||
    fail "mireval.xml gives saves no *.sav pattern"
  grep -aq 'application/x-mireval-save' "$scratch/mime/magic" 2>/dev/null ||
    fail "mireval.xml gives saves no magic"
  grep -q 'application/x-mireval-save' "$share/applications/mirplay.desktop" ||
    fail "mirplay.desktop does not open application/x-mireval-save"
else
  fail "no MIME type ${mime#"$root"}"
fi

# The changelog names the package's version: a new version needs its entry.
changelog=$share/doc/mireval/changelog.Debian.gz
top=$(gzip -dc "$changelog" | sed -n '1s/^mireval (\([^)]*\)).*/\1/p')
[ "$top" = "$version" ] || fail "changelog.Debian's newest entry is '$top', the package's version $version"

# Manual pages: one for each program, gzipped without a name or a time (so the package builds
# the same each time), rendered by groff without a warning and with a NAME line man can index.
for program in "$root"/usr/bin/*; do
  page=$share/man/man6/$(basename "$program").6.gz
  [ -f "$page" ] || fail "no manual page for $(basename "$program")"
done
for page in "$share"/man/man6/*.6.gz; do
  name=$(basename "$page")
  gzip -t "$page" || { fail "$name is not gzipped"; continue; }
  # The gzip header: byte 3 the flags (8 = a file name follows), bytes 4-7 the time.
  header=$(od -An -tx1 -j3 -N5 "$page" | tr -d ' \n')
  [ "$header" = 0000000000 ] || fail "$name keeps a name or a time in its gzip header (use gzip -9n)"
  gzip -dc "$page" > "$scratch/page.6"
  quiet "groff on $name" groff -k -man -ww -z -Tutf8 "$scratch/page.6"
  lexgrog "$scratch/page.6" > /dev/null 2>&1 || fail "$name has no NAME line that lexgrog can read"
  version_in_page=$(sed -n 's/^\.TH .*"Mireval \([^"]*\)".*/\1/p' "$scratch/page.6")
  [ "$version_in_page" = "$upstream" ] || fail "$name names version '$version_in_page', not $upstream"
done

# Icons: each PNG is as large as the folder it lies in says, and the scalable one is well formed.
for size in 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/mireval.png
  if [ -f "$icon" ]; then
    width=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3 * 256 + $4, $7 * 256 + $8}')
    [ "$width" = "$size $size" ] || fail "${icon#"$share"/} is $width pixels"
  else
    fail "no icon ${icon#"$root"}"
  fi
done
svg=$share/icons/hicolor/scalable/apps/mireval.svg
if [ -f "$svg" ]; then
  quiet "xmllint on mireval.svg" xmllint --noout "$svg"
else
  fail "no icon ${svg#"$root"}"
fi

# Lintian last, on the package as a whole; its own overrides file is inside the package.
lintian --fail-on error,warning "$deb" > "$scratch/lintian.txt" 2>&1 ||
  fail "lintian:$(grep -v -e 'running with root privileges' -e '^$' "$scratch/lintian.txt" | sed 's/^/\n  /')"

if [ "$failures" -gt 0 ]; then
  echo "check_package: $failures problem(s) in $deb" >&2
  exit 1
fi
echo "check_package: passed ($deb)"
