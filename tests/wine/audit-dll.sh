#!/bin/bash
# Audits a built plug-in DLL with objdump:
#   audit-dll.sh exports <dll>        exactly one export, "main"; imports only Windows system DLLs
#   audit-dll.sh sse <dll>            no SSE2-or-later instruction
#   audit-dll.sh x87 <dll>            no MMX/SSE instruction or register at all
set -euo pipefail
mode=$1 dll=$2
objdump=i686-w64-mingw32-objdump
fail() { echo "FAIL: $*" >&2; exit 1; }
# Disassembly of the code only: mingw places exception tables (data) inside .text, and their
# bytes must not be read as instructions.
code() {
  $objdump -d --no-show-raw-insn "$dll" |
    awk '/^[0-9a-f]+ <.*>:$/ { data = ($2 ~ /^<\.gcc_except_table/) } !data'
}
[ -f "$dll" ] || fail "$dll does not exist"

case "$mode" in
exports)
  names=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -nE 's/^\s*\[\s*[0-9]+\]\s+(\S+)$/\1/p')
  [ "$names" = "main" ] || fail "exports are [$names], expected only main"
  system='^(kernel32|user32|gdi32|ole32|oleaut32|shell32|msimg32|advapi32|comdlg32|msvcrt|uuid)\.dll$'
  while read -r imp; do
    echo "$imp" | tr 'A-Z' 'a-z' | grep -Eq "$system" || fail "imports non-system DLL $imp"
  done < <($objdump -p "$dll" | sed -nE 's/^\s*DLL Name: (.*)$/\1/p')
  echo "exports: main only; imports: $($objdump -p "$dll" | sed -nE 's/^\s*DLL Name: //p' | tr '\n' ' ')"
  ;;
x87)
  hits=$(code | grep -E '%xmm|%mm[0-7]' | head -20 || true)
  [ -z "$hits" ] || fail "MMX/SSE in the x87 build:
$hits"
  echo "no MMX/SSE instruction"
  ;;
sse)
  # SSE2 and later work on doubles or integers in xmm registers; SSE itself only on packed or
  # scalar singles, plus the MXCSR, prefetch, non-temporal and fence instructions.
  sse2='\b(movsd|addsd|subsd|mulsd|divsd|sqrtsd|maxsd|minsd|comisd|ucomisd|cvt[a-z]*sd[a-z0-9]*|cvt[a-z]*pd[a-z0-9]*|cvt[a-z]*dq[a-z0-9]*|[a-z]+pd|movq|movdq[au]|pshuf[dhlw]+|padd[bdqw]|psub[bdqw]|pand|pandn|por|pxor|punpck[a-z]+|pcmp[a-z]+|psll[a-z]*|psrl[a-z]*|psra[a-z]*|lfence|mfence|clflush|maskmovdqu|movnti|movntdq|movntpd)\b'
  hits=$(code | grep -E '%xmm' | grep -Ew "$sse2" | head -20 || true)
  [ -z "$hits" ] || fail "SSE2 or later in the SSE build:
$hits"
  later=$(code | grep -E '%ymm|%zmm|\b(lddqu|movddup|movs[hl]dup|haddp[sd]|hsubp[sd]|addsubp[sd]|pshufb|ptest|blendv?p[sd]|roundss|dpps|insertps|extractps)\b' | head -5 || true)
  [ -z "$later" ] || fail "SSE3 or later in the SSE build:
$later"
  echo "SSE only, no SSE2 or later (scalar single instructions: $($objdump -d "$dll" | grep -cE '\b(addss|mulss|subss|divss)\b'))"
  ;;
*) fail "unknown mode $mode" ;;
esac
