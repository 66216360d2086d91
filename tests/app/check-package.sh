#!/usr/bin/env bash
# Makes the Debian package of a build and checks it with dpkg-deb: the programs and
# the desktop files are in it, the test driver is not, and Depends names the package
# of every shared library each program links against directly.
#   check-package.sh BUILD_DIR WORK_DIR DESKTOP_ID PROGRAM...
# Exits 77 (skipped) when cpack, dpkg-deb or dpkg-shlibdeps is missing.
set -euo pipefail
build=$1 work=$2 id=$3
shift 3
programs=("$@")

for tool in cpack dpkg-deb dpkg-shlibdeps readelf; do
  if ! command -v "$tool" > /dev/null; then echo "skipped: $tool is not installed"; exit 77; fi
done

rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack did not make the package"; exit 1; }
deb=$(find "$work" -maxdepth 1 -name '*.deb' | sed -n 1p)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: no .deb made"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
expected=(
  "./usr/share/applications/$id.desktop"
  "./usr/share/icons/hicolor/scalable/apps/$id.svg"
  "./usr/share/metainfo/$id.metainfo.xml"
)
for program in "${programs[@]}"; do expected+=("./usr/bin/$program"); done
for file in "${expected[@]}"; do
  grep -qxF "$file" <<< "$contents" || fail "$file is not in the package"
done
if grep -q 'program_driver' <<< "$contents"; then fail "the test driver is in the package"; fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[ -n "$depends" ] || fail "the package has no Depends"
names=$(tr ',' '\n' <<< "$depends" | sed 's/^ *//; s/[ (].*//; /^$/d')

# The package of each library the packaged programs need, found on this system: the
# package that owns the file, or the one its shlibs file names for the library (a
# library can be declared to come from a variant of its package).
extract="$work/root"
dpkg-deb -x "$deb" "$extract"
for program in "${programs[@]}"; do
  for soname in $(readelf -d "$extract/usr/bin/$program" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
    # Every reader takes its whole input: a reader that stops early would end the
    # writer by SIGPIPE, which pipefail turns into a failure of this script.
    path=$(ldconfig -p | awk -v so="$soname" '$1 == so && !found {print $NF; found = 1}')
    [ -n "$path" ] || { fail "$program needs $soname, which this system lacks"; continue; }
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | sed -n '1s/:.*//p') ||
      owner=$(dpkg -S "$path" 2>/dev/null | sed -n '1s/:.*//p') || true
    [ -n "$owner" ] || { fail "no package owns $path"; continue; }
    owner=${owner%%,*}
    candidates=("$owner")
    library=${soname%%.so*}
    version=${soname#*.so.}
    declared=$(dpkg-query --control-show "$owner" shlibs 2>/dev/null |
      awk -v lib="$library" -v ver="$version" '$1 == lib && $2 == ver {print $3}' | sed 's/[ (].*//') || true
    [ -n "$declared" ] && candidates+=("$declared")
    named=0
    for candidate in "${candidates[@]}"; do
      grep -qxF "$candidate" <<< "$names" && named=1
    done
    [ "$named" -eq 1 ] || fail "$program needs $soname from ${candidates[*]}, which Depends does not name"
  done
done

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") holds ${#expected[@]} checked files"
