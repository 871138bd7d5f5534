#!/usr/bin/env bash
# The gallery run makes a working folder whose parents do not exist yet, and
# ends with a message when the folder cannot be made; it never waits for a click.
# Usage: gallery_home.sh PATH_TO_GYREL
set -u
gyrel=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen GYREL_SETTINGS="$scratch/gyrel.ini"

GYREL_HOME="$scratch/no/such/home" timeout 60 "$gyrel" --simulate NORM --gallery "$scratch/pictures" 2>"$scratch/err"
rc=$?
[ $rc -eq 0 ] || { echo "gallery under a new folder ended with $rc"; cat "$scratch/err"; exit 1; }
[ -d "$scratch/no/such/home" ] && [ -s "$scratch/pictures/main.png" ] || { echo "no working folder or no picture"; exit 1; }

touch "$scratch/file"
GYREL_HOME="$scratch/file/home" timeout 60 "$gyrel" --simulate NORM --gallery "$scratch/pictures2" 2>"$scratch/err"
rc=$?
[ $rc -eq 1 ] || { echo "gallery under a file ended with $rc"; exit 1; }
grep -q "cannot create the working folder $scratch/file/home" "$scratch/err" || { cat "$scratch/err"; exit 1; }
echo ok
