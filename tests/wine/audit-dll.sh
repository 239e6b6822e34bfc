#!/bin/bash
# Audits a built plug-in DLL with objdump:
#   audit-dll.sh exports <dll>        the entry point only ("main" in a 32-bit DLL, "VSTPluginMain"
#                                     and "main" in a 64-bit one); imports only Windows system DLLs
#   audit-dll.sh sse <dll>            no SSE2-or-later instruction
#   audit-dll.sh x87 <dll>            no MMX/SSE instruction or register at all
#   audit-dll.sh sse2 <dll>           nothing beyond the x86-64 baseline (SSE2)
set -euo pipefail
mode=$1 dll=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$dll" ] || fail "$dll does not exist"
# The machine field of the PE header (after the "PE\0\0" signature, whose offset is at 0x3c).
pe_offset=$(od -An -tu4 -j60 -N4 "$dll" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$dll" | tr -d ' ')
case "$machine" in
014c) objdump=i686-w64-mingw32-objdump expected_exports="main" ;;
8664) objdump=x86_64-w64-mingw32-objdump expected_exports="VSTPluginMain main" ;;
*) fail "$dll: unknown PE machine $machine" ;;
esac
# Disassembly of the code only: mingw places exception tables (data) inside .text, and their
# bytes must not be read as instructions.
code() {
  $objdump -d --no-show-raw-insn "$dll" |
    awk '/^[0-9a-f]+ <.*>:$/ { data = ($2 ~ /^<\.gcc_except_table/) } !data'
}
# The instruction mnemonics, one per line, prefixes (rep, lock, ...) dropped.
mnemonics() {
  code | awk -F'\t' '/^ +[0-9a-f]+:\t/ {
    n = split($2, w, " "); m = w[1]
    if (n > 1 && m ~ /^(rep[a-z]*|lock|data16|addr32|notrack|bnd|rex(\.[A-Z]+)?|[cdefgs]s)$/) m = w[2]
    print m }'
}

case "$mode" in
exports)
  names=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -nE 's/^\s*\[\s*[0-9]+\]\s+(\S+)$/\1/p')
  [ "$(echo $names)" = "$expected_exports" ] || fail "exports are [$names], expected $expected_exports"
  system='^(kernel32|user32|gdi32|ole32|oleaut32|shell32|msimg32|advapi32|comdlg32|msvcrt|uuid)\.dll$'
  while read -r imp; do
    echo "$imp" | tr 'A-Z' 'a-z' | grep -Eq "$system" || fail "imports non-system DLL $imp"
  done < <($objdump -p "$dll" | sed -nE 's/^\s*DLL Name: (.*)$/\1/p')
  echo "exports: $expected_exports; imports: $($objdump -p "$dll" | sed -nE 's/^\s*DLL Name: //p' | tr '\n' ' ')"
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
sse2)
  # SSE3, SSSE3, SSE4.x, AVX (every VEX/EVEX mnemonic starts with v) and the later integer,
  # crypto and random-number extensions. Not tzcnt: objdump shows the "rep bsf" that GCC emits
  # for a trailing-zero count of a non-zero value under that name, and without BMI it runs as bsf.
  later='^(v[a-z0-9]+|lddqu|movddup|movs[hl]dup|hadd(ps|pd)|hsub(ps|pd)|addsub(ps|pd)|fisttp[a-z]*|monitor|mwait|pshufb|ph(add|sub)[a-z]*|pmaddubsw|pmulhrsw|psign[bwd]|pabs[bwd]|palignr|ptest|blendv?p[sd]|pblend[a-z]*|round[sp][sd]|dpp[sd]|insertps|extractps|pextr[bdq]|pinsr[bdq]|pmins[bd]|pmaxs[bd]|pminu[wd]|pmaxu[wd]|pmov[sz]x[a-z]*|pmuldq|pmulld|packusdw|pcmp[eg][a-z]*q|mpsadbw|phminposuw|movntdqa|pcmp[ei]str[im]|crc32[a-z]*|popcnt|lzcnt|andn|bextr|bls(i|r|msk)|bzhi|s(hl|hr|ar)x|rorx|pdep|pext|mulx|movbe|aes[a-z]*|pclmul[a-z]*|sha(1|256)[a-z0-9]*|rdrand|rdseed|adcx|adox|cmpxchg16b)$'
  hits=$(mnemonics | grep -E "$later" | sort | uniq -c | head -20 || true)
  [ -z "$hits" ] || fail "beyond SSE2 in the 64-bit build:
$hits"
  echo "SSE2 baseline only, nothing later (scalar double instructions: $(mnemonics | grep -cE '^(add|sub|mul|div)sd$'))"
  ;;
*) fail "unknown mode $mode" ;;
esac
