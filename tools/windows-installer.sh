#!/usr/bin/env bash
# Writes the Windows setup program, build/windows/saroko-<version>-setup.exe, with NSIS from the
# Windows build (cmake --preset windows, built): the three programs, the Qt libraries and plugins
# and the compiler's runtime libraries they load (found from the programs' imports: a cross build
# has no deployment tool), Qt's own Japanese and English texts and the demo recording. Prints the
# setup program's path and size.
#
#   tools/windows-installer.sh           build it
#   tools/windows-installer.sh --check   build it, then install, use and uninstall it silently
#                                        under Wine in a fresh prefix (tools/windows-installer-check.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup-windows-deps.sh
build=build/windows
kit=$(./tools/windows-kit.sh --dir)
[ -f "$kit/kit.txt" ] || { echo "windows-installer: no Windows kit in $kit (tools/windows-kit.sh)"; exit 1; }
for exe in saroko saroko-cli km41-sim; do
  [ -f "$build/bin/$exe.exe" ] || { echo "windows-installer: no $build/bin/$exe.exe (cmake --build --preset windows)"; exit 1; }
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "windows-installer: no version in $build/CMakeCache.txt"; exit 1; }

stage=$build/stage
rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations" "$stage/samples"
cp "$build"/bin/{saroko,saroko-cli,km41-sim}.exe "$stage/"
x86_64-w64-mingw32-strip "$stage"/*.exe
# The window system's plugin and the native style; offscreen for saroko.exe --screenshot.
cp "$kit"/plugins/platforms/{qwindows,qoffscreen}.dll "$stage/platforms/"
cp "$kit/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$kit"/translations/qtbase_{ja,en}.qm "$stage/translations/"
cp "$build/samples/demo.klg" "$stage/samples/"
cp resources/icons/saroko.ico "$stage/"

# Every DLL the programs and plugins import, and the ones those import, from the kit and the
# compiler; the rest are the system's own.
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
search=("$kit/bin" "$runtime" /usr/x86_64-w64-mingw32/lib)
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
declare -A seen=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  while read -r dll; do
    key=${dll,,}
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$stage/"
        queue+=("$stage/$dll")
        break
      fi
    done
  done < <(imports "$file")
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.dll "$stage"/*/*.dll 2>/dev/null || true

# The files by name for the setup program: each one installed, and removed again by the
# uninstaller, which removes nothing else.
lists=$build/installer
mkdir -p "$lists"
: >"$lists/files.nsh"
: >"$lists/remove.nsh"
winpath() { printf '%s' "${1//\//\\}"; }
while read -r dir; do
  rel=${dir#"$stage"}
  rel=${rel#/}
  echo "SetOutPath \"\$INSTDIR${rel:+\\$(winpath "$rel")}\"" >>"$lists/files.nsh"
  find "$dir" -maxdepth 1 -type f -printf '%f\n' | sort | while read -r f; do
    echo "File \"$(realpath "$dir/$f")\"" >>"$lists/files.nsh"
    echo "Delete \"\$INSTDIR\\$(winpath "${rel:+$rel/}$f")\"" >>"$lists/remove.nsh"
  done
done < <(find "$stage" -type d | sort)
# Folders deepest first, each only when empty.
find "$stage" -mindepth 1 -type d | sort -r | while read -r dir; do
  echo "RMDir \"\$INSTDIR\\$(winpath "${dir#"$stage"/}")\"" >>"$lists/remove.nsh"
done

out=$build/saroko-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DLISTS="$(realpath "$lists")" \
  -DICON="$(realpath resources/icons/saroko.ico)" -DOUTFILE="$(realpath -m "$out")" \
  packaging/windows/saroko.nsi
echo "windows-installer: $out ($(du -k "$out" | cut -f1) KiB, $(find "$stage" -type f | wc -l) files)"
if [ "${1:-}" = --check ]; then
  ./tools/windows-installer-check.sh "$out"
fi
