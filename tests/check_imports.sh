#!/usr/bin/env bash
# check_imports.sh [--shipped] EXE... [--tests EXE...]: fails when an executable statically
# imports a DLL it may not.
#
# --shipped (the default): the executables we ship carry no symbols (they are kept in a .debug
# file beside them) and may import only DLLs that Windows 10 always
# takes from System32 (its KnownDLLs), plus comctl32, which the manifest's side-by-side
# dependency resolves. The loader resolves static imports before any of our code runs,
# searching the program's own folder first for every other DLL; those (WinINet, GDI+) are
# delay-loaded instead, after the entry point has limited the search to System32.
# They also import no function that Windows 8.1 lacks (those below, which the program looks up at
# run time instead): the loader would refuse the executable on the Windows it must decline
# politely, before any of its code runs.
# --tests: test executables may import any DLL that ships with Windows, but no MinGW runtime
# DLL (libstdc++-6.dll, libgcc_s_seh-1.dll, libwinpthread-1.dll).
set -u
known_dlls='kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 msvcrt shlwapi shcore comdlg32
  imm32 ws2_32 rpcrt4 sechost combase setupapi comctl32'
with_windows="$known_dlls wininet gdiplus uxtheme version bcrypt ntdll msimg32"
newer_than_81='GetDpiForWindow GetDpiForSystem SystemParametersInfoForDpi AdjustWindowRectExForDpi
  GetSystemMetricsForDpi EnableNonClientDpiScaling SetProcessDpiAwarenessContext
  SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext GetWindowDpiAwarenessContext
  AreDpiAwarenessContextsEqual SetThreadDescription GetThreadDescription'
alternatives() { echo $1 | tr ' ' '|'; }
newer="^($(alternatives "$newer_than_81"))\$"
shipped="^($(alternatives "$known_dlls"))\.dll\$"
tests="^($(alternatives "$with_windows")|api-ms-win-[a-z0-9-]+)\.dll\$"
echo "shipped executables may import:" $known_dlls

allowed=$shipped
status=0
count=0
files=0
for exe in "$@"; do
  case "$exe" in
  --shipped) allowed=$shipped; continue ;;
  --tests) allowed=$tests; continue ;;
  esac
  files=$((files + 1))
  if [[ "$allowed" == "$shipped" ]] &&
    x86_64-w64-mingw32-objdump -f "$exe" | grep -q 'HAS_SYMS'; then
    echo "FAIL $exe carries its symbols"
    status=1
  fi
  table=$(x86_64-w64-mingw32-objdump -p "$exe")
  if [[ "$allowed" == "$shipped" ]]; then
    while read -r dll function; do
      if [[ "$function" =~ $newer ]]; then
        echo "FAIL $exe imports $function from $dll, newer than Windows 8.1"
        status=1
      fi
    done < <(awk '/DLL Name:/ {dll = $3; next}
      dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print dll, $3}' <<<"$table")
  fi
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$table")
  if [[ -z "$imports" ]]; then
    echo "FAIL $exe: no import table found"
    status=1
    continue
  fi
  while read -r dll; do
    count=$((count + 1))
    if ! [[ "${dll,,}" =~ $allowed ]]; then
      echo "FAIL $exe imports $dll"
      status=1
    fi
  done <<<"$imports"
  echo "$(basename "$exe"): $(echo $imports | tr '\n' ' ')"
done
echo "checked $count imports of $files executables"
exit $status
