#!/usr/bin/env bash
# The model library's dynamic symbol table holds its entry points, data records
# and classes, and nothing else: above all not the allocation operators, which
# would otherwise replace the host process's own.
set -euo pipefail
lib="$1"
types_list="$(dirname "$0")/../exports/types.list"
types=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$types_list")
[ -n "$types" ] || { echo "no types in $types_list"; exit 1; }
defined=$(nm -D --defined-only "$lib" | awk '{print $3}')
demangled=$(printf '%s\n' "$defined" | c++filt)
bad=$(printf '%s\n' "$demangled" | grep -v -E \
  '^(ZR_|ZRProc_|bool ZR_[A-Z0-9_]+::DeclareEquations<|vtable for ZR|non-virtual thunk to ZR|typeinfo for ZR|typeinfo name for ZR|guard variable for ZR|SetContainsString\(|_Compatibility[A-Z0-9]+$|_JacData[A-Z0-9]+$|[A-Z0-9]+(Factory|PropertyInfo)$)' \
  | grep -v -E '^(_init|_fini|_edata|_end|__bss_start)$' || true)
if [ -n "$bad" ]; then
  echo "unexpected dynamic symbols in $lib:"; printf '%s\n' "$bad"; exit 1
fi
for sym in _Znwm _Znam _ZdlPv _ZdaPv _ZdlPvm _Znwj _Znaj; do
  if grep -qx "$sym" <<<"$defined"; then echo "allocation operator $sym is exported"; exit 1; fi
done
for t in $types; do
  for s in "${t}Factory" "${t}PropertyInfo" "_Compatibility$t" "_JacData$t"; do
    grep -qx "$s" <<<"$defined" || { echo "missing entry point $s"; exit 1; }
  done
done
# Every instantiable type's class, and the classes that only exist to be built by
# the host or other model libraries.
classes="$(printf 'ZR_%s\n' $types) ZR_GENERICPORT ZR_CONTROLPORT ZR_CONNECTIONPORT
  ZR_GLOBALSTRUCTUREREFNAME<ZR_GENERICSTRUCTURE>"
for c in $classes; do
  for s in "vtable for $c" "typeinfo for $c"; do
    grep -qx "$s" <<<"$demangled" || { echo "class data not exported: $s"; exit 1; }
  done
done
for s in "vtable for ZRProc_INTERPOLATE" "typeinfo for ZRProc_INTERPOLATE"; do
  grep -qx "$s" <<<"$demangled" || { echo "class data not exported: $s"; exit 1; }
done
for c in ZR_ANGLEPARAMETER ZR_POLYPOINTSPARAM_DOMAIN ZR_BASE_II ZR_BASE_SSSS "ZR_External<ZR_CONNECTION>" \
         "ZR_Virtual<ZR_ARRAY_III<ZR_REALVARIABLE, ZR_REALVARIABLE> >"; do
  grep -qx "vtable for $c" <<<"$demangled" || { echo "class data not exported: vtable for $c"; exit 1; }
done
# The multiports, their variants and the port arrays, with the wrappers over them.
for t in GENERICPORT CONNECTIONPORT CONTROLPORT; do
  for c in "ZR_MULTIPORT<ZR_$t>" "ZR_ZR_MI$t" "ZR_ZR_MO$t" "ZR_ZR_MIO$t" "ZR_ARRAY_S<ZR_$t, ZR_$t>" \
           "ZR_External<ZR_ZR_MIO$t>" "ZR_Virtual<ZR_ZR_MI$t>" "ZR_Virtual<ZR_ARRAY_S<ZR_$t, ZR_$t> >"; do
    grep -qx "vtable for $c" <<<"$demangled" || { echo "class data not exported: vtable for $c"; exit 1; }
  done
done
echo "exported symbols: $(printf '%s\n' "$defined" | wc -l) checked"
