#!/usr/bin/env bash
# Makes the comma-decimal locale (de_DE.UTF-8) that the locale-proof tests
# install, once per build, before any test runs. It is compiled into a scratch
# folder and renamed into place, so a test never sees it half written. A
# machine that cannot make it says why; the tests that need it then skip.
set -u
target_parent="$1"
target="$target_parent/de_DE.UTF-8"
[ -d "$target" ] && exit 0
mkdir -p "$target_parent"
scratch=$(mktemp -d "$target_parent/.making-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
if ! command -v localedef >/dev/null; then
    echo "comma locale: localedef is not installed (Debian package 'locales'); the comma-decimal tests will skip"
    exit 0
fi
# localedef exits 1 for mere warnings; the locale is usable when its folder holds LC_NUMERIC.
localedef -i de_DE -f UTF-8 "$scratch/de_DE.UTF-8" >"$scratch/log" 2>&1
if [ ! -e "$scratch/de_DE.UTF-8/LC_NUMERIC" ]; then
    echo "comma locale: localedef could not make de_DE.UTF-8; the comma-decimal tests will skip:"
    cat "$scratch/log"
    exit 0
fi
mv -T "$scratch/de_DE.UTF-8" "$target" 2>/dev/null || [ -d "$target" ]
