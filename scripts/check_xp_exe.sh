#!/usr/bin/env bash
# Checks that the 32-bit release exe can start on Windows XP SP3: it imports
# no function that XP's system DLLs lack (the loader refuses the whole exe
# with "entry point not found"), its PE header asks for no newer subsystem or
# OS, and it carries no debugging data (that goes into the .debug file).
#   check_xp_exe.sh [EXE]     default: build/win32/Ownerlens.exe
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$root/build/win32/Ownerlens.exe}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# Functions that came with Vista or later, the ones a compiler runtime or a
# careless call is likely to pull in.
deny=(
  GetTickCount64 InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
  WakeConditionVariable WakeAllConditionVariable InitializeSRWLock AcquireSRWLockExclusive
  AcquireSRWLockShared ReleaseSRWLockExclusive ReleaseSRWLockShared TryAcquireSRWLockExclusive
  InitOnceExecuteOnce InitOnceBeginInitialize FlsAlloc FlsGetValue FlsSetValue FlsFree
  GetSystemTimePreciseAsFileTime CancelIoEx CancelSynchronousIo QueryFullProcessImageNameA
  QueryFullProcessImageNameW GetLocaleInfoEx CompareStringEx LCMapStringEx GetUserDefaultLocaleName
  GetFileInformationByHandleEx SetFileInformationByHandle SetThreadStackGuarantee CreateSymbolicLinkA
  CreateSymbolicLinkW GetFinalPathNameByHandleA GetFinalPathNameByHandleW GetErrorMode
  InitializeCriticalSectionEx CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW
  CreateSemaphoreExA CreateSemaphoreExW GetThreadId GetCurrentProcessorNumber
  WaitForThreadpoolWorkCallbacks CreateThreadpoolWork inet_pton inet_ntop InetPtonA InetNtopA
  WSAPoll if_nametoindex
)

if [ ! -f "$exe" ]; then
  echo "check_xp_exe: $exe not found" >&2
  exit 1
fi
headers=$("$objdump" -p "$exe")
problems=0

# Imported names: the rows of each "DLL Name" table ("<hint-rva> <hint> <name>").
imports=$(awk '/^\tDLL Name:/ { dll = $3; next }
               dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll ":" $3 }' <<<"$headers")
if [ -z "$imports" ]; then
  echo "check_xp_exe: no import table read from $exe" >&2
  exit 1
fi
for name in "${deny[@]}"; do
  if found=$(grep -E ":${name}\$" <<<"$imports"); then
    echo "imports a function that Windows XP lacks: $found"
    problems=$((problems + 1))
  fi
done

# The loader of XP (5.1) refuses a higher subsystem version.
field() { awk -v key="$1" '$1 == key { print $2 }' <<<"$headers"; }
for kind in Subsystem OSystem; do
  major=$(field "Major${kind}Version")
  minor=$(field "Minor${kind}Version")
  if [ -z "$major" ] || [ -z "$minor" ] || [ $((major * 100 + minor)) -gt 501 ]; then
    echo "${kind} version ${major:-?}.${minor:-?} is above Windows XP's 5.1"
    problems=$((problems + 1))
  fi
done

# Stripped: no symbol table and no debugging sections in the shipped file.
if grep -qE '^\s*[0-9]+ \.debug_' <<<"$("$objdump" -h "$exe")"; then
  echo "carries debugging sections: strip it and keep them beside it"
  problems=$((problems + 1))
fi
if [ "$("$objdump" -t "$exe" | grep -c '^\[')" -gt 0 ]; then
  echo "carries a symbol table"
  problems=$((problems + 1))
fi

count=$(wc -l <<<"$imports")
size=$(stat -c %s "$exe")
if [ "$problems" -gt 0 ]; then
  echo "check_xp_exe: $exe: $problems problem(s)"
  exit 1
fi
echo "check_xp_exe: $exe: $count imports, none newer than Windows XP; $size bytes"
