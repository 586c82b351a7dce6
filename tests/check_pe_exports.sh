#!/usr/bin/env bash
# The export table of the Windows library as the host's loader reads it: the
# module name; every entry point and data record of every type by name (none by
# ordinal only, none forwarded); the classes of every type; nothing outside
# those families, the allocation operators above all; functions in code with a
# call thunk in the import library and data elsewhere without one; and no
# compiler runtime DLL to ship beside it.
#   check_pe_exports.sh OBJDUMP DLL IMPORT_LIBRARY TYPES_FILE
set -euo pipefail
objdump="$1" dll="$2" implib="$3" types_file="$4"
module=Orvane350_1.dll

fail=0
problem() { echo "$*"; fail=1; }

headers=$("$objdump" -p "$dll")
sections=$("$objdump" -h "$dll")
types=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$types_file" | grep -v '^$')

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
if grep -q "Forwarder RVA" <<<"$headers"; then
  problem "forwarded exports:"$'\n'"$(grep 'Forwarder RVA' <<<"$headers")"
fi

# "name section" per export. The address table lists [index] +base[ordinal] rva,
# the ordinal table [index] name.
image_base=$(awk '/^ImageBase/{print $2; exit}' <<<"$headers")
exports=$(awk -v base=$((16#$image_base)) "$hex"'
  function index_of(line) { sub(/^[^[]*\[ */, "", line); sub(/\].*/, "", line); return line + 0 }
  FNR == NR { if ($2 ~ /^\./ && $3 ~ /^[0-9a-f]+$/) { n++; sec[n] = $2; lo[n] = hex($4) - base; hi[n] = lo[n] + hex($3) } next }
  /^Export Address Table --/ { part = 1; next }
  /^\[Ordinal\/Name Pointer\] Table/ { part = 2; next }
  /^$/ { part = 0; next }
  part == 1 && /Export RVA/ { rva[index_of($0)] = hex($(NF - 2)) }
  part == 2 { i = index_of($0); s = "?"
              for (k = 1; k <= n; k++) if (rva[i] >= lo[k] && rva[i] < hi[k]) s = sec[k]
              print $NF, s }
' <(printf '%s\n' "$sections") <(printf '%s\n' "$headers"))
section_of() { awk -v n="$1" '$1 == n {print $2; exit}' <<<"$exports"; }

# Code and data: a function has a call thunk in the import library (the plain
# name, with the underscore of i686 C names before it), data has none.
thunks=$("$objdump" -t "$implib" | awk '$NF ~ /^_/ && $NF !~ /^__(imp|nm)_/ {print substr($NF, 2)}' | sort -u)
misfiled=$(awk 'FNR == NR { thunk[$1] = 1; next }
  $2 == ".text" && !($1 in thunk) { print "function " $1 " has no call thunk in the import library" }
  $2 != ".text" && ($1 in thunk) { print "data " $1 " (" $2 ") is exported as code" }
' <(printf '%s\n' "$thunks") <(printf '%s\n' "$exports"))
[ -z "$misfiled" ] || problem "$misfiled"

for type in $types; do
  for f in "${type}Factory" "${type}PropertyInfo"; do
    [ "$(section_of "$f")" = ".text" ] || problem "entry point $f is not exported by name as code"
  done
  for d in "_Compatibility$type" "_JacData$type"; do
    case "$(section_of "$d")" in
      .rdata | .data) ;;
      *) problem "data record $d is not exported by name as data" ;;
    esac
  done
done

# Everything else is a class of the library, as on ELF: members, virtual
# tables, type information and function-local statics of ZR_ and ZRProc_
# classes. Each type's class is there with its virtual table.
entry_points=$(for t in $types; do printf '%s\n' "${t}Factory" "${t}PropertyInfo" "_Compatibility$t" "_JacData$t"; done)
demangled=$(awk '{print $1}' <<<"$exports" | grep -vxF "$entry_points" | c++filt)
strays=$(grep -v -E '^(ZR_|ZRProc_|(vtable for|typeinfo for|typeinfo name for|guard variable for|(non-)?virtual thunk to) (ZR_|ZRProc_)|SetContainsString\(|bool ZR_[A-Z0-9_]+::DeclareEquations<)' \
  <<<"$demangled" || true)
[ -z "$strays" ] || problem "exported outside the library's families:"$'\n'"$strays"
for type in $types; do
  for s in "vtable for ZR_$type" "typeinfo for ZR_$type"; do
    grep -qxF "$s" <<<"$demangled" || problem "class data not exported: $s"
  done
done

# Only system DLLs and the host runtime are imported.
while read -r imported; do
  case "${imported,,}" in
    kernel32.dll | msvcrt.dll | qtvexp.dll) ;;
    *) problem "imports $imported, which the host does not provide" ;;
  esac
done < <(awk '/DLL Name:/{print $3}' <<<"$headers")

[ "$fail" = 0 ] || exit 1
echo "export table of $module: $(wc -l <<<"$exports") names checked"
