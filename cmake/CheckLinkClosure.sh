#!/usr/bin/env bash
# CheckLinkClosure.sh NAME "ALLOWED..." "LINKED..." ARCHIVE... -- OTHER_ARCHIVE...
# Fails when the library NAME links (as CMake has it) anything not ALLOWED, or when a symbol its
# archives (NAME's and those it links) need but do not define is defined by one of the other
# archives: what NAME would pull in from outside its allowed closure.
set -euo pipefail
name=$1 allowedList=$2 allowed=" $2 " linked=$3
shift 3
closure=()
while (($#)) && [[ $1 != -- ]]; do closure+=("$1"); shift; done
shift
others=("$@")

status=0
for library in $linked; do
  if [[ $allowed != *" $library "* ]]; then
    echo "$name links $library, which a pure library may not (allowed: $allowedList)"
    status=1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Strong definitions only: weak ones (inline functions, templates) are made wherever they are used.
defined() { nm -g -P --defined-only "$@" 2>/dev/null | awk 'NF >= 2 && $2 ~ /^[TDBRC]$/ { print $1 }' | sort -u; }
nm -g -P --undefined-only "${closure[@]}" | awk 'NF >= 2 && $2 == "U" { print $1 }' | sort -u >"$work/needed"
nm -g -P --defined-only "${closure[@]}" | awk 'NF >= 2 { print $1 }' | sort -u >"$work/own"
comm -23 "$work/needed" "$work/own" >"$work/outside"
if ((${#others[@]})); then defined "${others[@]}" >"$work/ours"; else : >"$work/ours"; fi
comm -12 "$work/outside" "$work/ours" >"$work/pulled"
if [[ -s $work/pulled ]]; then
  echo "$name needs symbols that only libraries outside its closure define:"
  c++filt <"$work/pulled" | sed 's/^/  /'
  status=1
fi
((status == 0)) && echo "$name: links only $linked, and needs nothing of the other libraries"
exit $status
