#!/usr/bin/env bash
# check_imports.sh EXE...: fails when an executable imports a DLL that does not ship with
# Windows (a MinGW runtime DLL such as libstdc++-6.dll, libgcc_s_seh-1.dll or
# libwinpthread-1.dll, or anything else not on the list).
set -u
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|wininet|gdiplus|msvcrt|shlwapi|uxtheme|version|ws2_32|bcrypt|ntdll|msimg32|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
count=0
for exe in "$@"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
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
echo "checked $count imports of $# executables"
exit $status
