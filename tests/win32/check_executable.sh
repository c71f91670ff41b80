#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Checks the built velmora.exe from the outside: a GUI program that needs no
# DLL beyond those of Windows itself, with its 32 by 32, 256-colour icon, its
# version record and the licences' texts.
#
#   check_executable.sh velmora.exe OBJDUMP
set -eu
exe="$1"
objdump="$2"
failures=0
check() {  # check WHAT ACTUAL EXPECTED
    if [ "$2" = "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}

headers="$($objdump -p "$exe")"
check "GUI subsystem" "$(echo "$headers" | awk '/^Subsystem/ {print $2}')" "00000002"
dlls="$(echo "$headers" | awk '/DLL Name:/ {print toupper($3)}' | sort | tr '\n' ' ')"
for dll in $dlls; do
    case "$dll" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|MSVCRT.DLL|ADVAPI32.DLL|COMCTL32.DLL|OLE32.DLL) ;;
        *) check "DLL $dll is part of Windows" "no" "yes" ;;
    esac
done
check "imports Windows DLLs only" "$(echo "$dlls" | grep -c .)" "1"

# The group icon's one entry: width, height, colour count, planes, bits.
icon="$(wrestool -x --raw -t 14 "$exe" | od -An -tx1 -j6 -N8 | tr -s ' ' | sed 's/^ //')"
check "icon 32 by 32, 256 colours" "$icon" "20 20 00 00 01 00 08 00"

# The version record's texts, as name|value pairs in their order.
texts="$(wrestool -x --raw -t 16 "$exe" | strings -el -n 1 | tr '\n' '|')"
expect_pair() {
    case "$texts" in
        *"|$1|$2|"*) echo "ok   $1 is $2" ;;
        *) echo "FAIL $1 is not $2"; failures=$((failures + 1)) ;;
    esac
}
expect_pair StringFileInfo 040904B0
expect_pair CompanyName https://velmora.example
expect_pair FileDescription Velmora
expect_pair FileVersion 1.00
expect_pair InternalName Velmora
expect_pair LegalCopyright https://velmora.example
expect_pair LegalTrademarks https://velmora.example
expect_pair ProductName Velmora
expect_pair ProductVersion 1.00
for text in "LICENSE|MIT License" "NOTICES|MinGW-w64 runtime"; do
    wrestool -x --raw -t 10 -n "${text%%|*}" "$exe" | grep -q "${text#*|}" \
        && echo "ok   licence text ${text%%|*}" || { echo "FAIL no licence text ${text%%|*}"; failures=$((failures + 1)); }
done
translation="$(wrestool -x --raw -t 16 "$exe" | od -An -tx1 | tr -s ' \n' ' ' | sed 's/ $//')"
case "$translation" in
    *"00 00 09 04 b0 04") echo "ok   translation 0409, 04B0" ;;
    *) echo "FAIL translation is not 0409, 04B0"; failures=$((failures + 1)) ;;
esac

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "executable: all checks passed"
