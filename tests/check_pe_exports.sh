#!/usr/bin/env bash
# The export table of the Windows library as the host's loader reads it: the
# module name, every entry point and data record of every type by name (none by
# ordinal only, none forwarded), functions in code and data records in data,
# the data records marked as data in the import library (no call thunk), no
# allocation operator exported, and no compiler runtime DLL to ship beside it.
#   check_pe_exports.sh OBJDUMP DLL IMPORT_LIBRARY TYPES_FILE
set -euo pipefail
objdump="$1" dll="$2" implib="$3" types_file="$4"
module=Orvane350_1.dll

fail=0
problem() { echo "$*"; fail=1; }

headers=$("$objdump" -p "$dll")
sections=$("$objdump" -h "$dll")
implib_symbols=$("$objdump" -t "$implib" | awk '{print $NF}')

# Export directory: name and counts.
name=$(awk '/^The Export Tables/{e=1} e && /^Name[ \t]/{print $3; exit}' <<<"$headers")
[ "$name" = "$module" ] || problem "module name is '$name', expected '$module'"
# mawk has no strtonum.
hex='function hex(s, i, n) { n = 0; s = tolower(s)
       for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
       return n }'
count() { awk -v key="$1" "$hex"' $0 ~ key {print hex($NF); exit}' <<<"$headers"; }
addresses=$(count "Export Address Table[ \t]+[0-9a-f]+$")
names=$(count "\\[Name Pointer/Ordinal\\] Table")
[ -n "$addresses" ] && [ "$addresses" = "$names" ] ||
  problem "$addresses exported addresses but $names names: some exported by ordinal only"
grep -q "Forwarder RVA" <<<"$headers" && problem "forwarded exports: $(grep 'Forwarder RVA' <<<"$headers")"

# name -> section of its address. The ordinal table lists [index] name; the
# address table lists [index] +base[ordinal] rva.
image_base=$(awk '/^ImageBase/{print $2; exit}' <<<"$headers")
exports=$(awk -v base=$((16#$image_base)) "$hex"'
  FNR == NR { if ($2 ~ /^\./ && $3 ~ /^[0-9a-f]+$/) { n++; sec[n] = $2; lo[n] = hex($4) - base; hi[n] = lo[n] + hex($3) } next }
  /^Export Address Table --/ { part = 1; next }
  /^\[Ordinal\/Name Pointer\] Table/ { part = 2; next }
  /^$/ { part = 0; next }
  function index_of(line) { sub(/^[^[]*\[ */, "", line); sub(/\].*/, "", line); return line + 0 }
  part == 1 && /Export RVA/ { rva[index_of($0)] = hex($(NF - 2)) }
  part == 2 { i = index_of($0); s = "?"
              for (k = 1; k <= n; k++) if (rva[i] >= lo[k] && rva[i] < hi[k]) s = sec[k]
              print $NF, s }
' <(printf '%s\n' "$sections") <(printf '%s\n' "$headers"))
section_of() { awk -v n="$1" '$1 == n {print $2; exit}' <<<"$exports"; }

while read -r type; do
  for f in "${type}Factory" "${type}PropertyInfo"; do
    s=$(section_of "$f")
    [ "$s" = ".text" ] || problem "entry point $f: ${s:-not exported by name}, expected in .text"
    grep -qx "_$f" <<<"$implib_symbols" || problem "entry point $f has no call thunk in the import library"
  done
  for d in "_Compatibility$type" "_JacData$type"; do
    s=$(section_of "$d")
    case "$s" in
      .rdata|.data) ;;
      *) problem "data record $d: ${s:-not exported by name}, expected in .rdata or .data" ;;
    esac
    grep -qx "__imp__$d" <<<"$implib_symbols" || problem "data record $d missing from the import library"
    grep -qx "_$d" <<<"$implib_symbols" && problem "data record $d is exported as code (it has a call thunk)"
  done
done < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$types_file" | grep -v '^$')

# The allocation operators stay inside the library.
for op in _Znwj _Znaj _ZdlPv _ZdaPv _ZdlPvj _ZdaPvj _ZnwjRKSt9nothrow_t _ZnajRKSt9nothrow_t; do
  [ -z "$(section_of "$op")" ] || problem "allocation operator $op is exported"
done

# Only system DLLs and the host runtime are imported.
while read -r imported; do
  case "${imported,,}" in
    kernel32.dll|msvcrt.dll|qtvexp.dll) ;;
    *) problem "imports $imported, which the host does not provide" ;;
  esac
done < <(awk '/DLL Name:/{print $3}' <<<"$headers")

[ "$fail" = 0 ] || exit 1
echo "export table of $module: $(wc -l <<<"$exports") names checked"
