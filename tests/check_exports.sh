#!/usr/bin/env bash
# The model library's dynamic symbol table holds its entry points, data records
# and classes, and nothing else: above all not the allocation operators, which
# would otherwise replace the host process's own.
set -euo pipefail
lib="$1"
defined=$(nm -D --defined-only "$lib" | awk '{print $3}')
demangled=$(printf '%s\n' "$defined" | c++filt)
bad=$(printf '%s\n' "$demangled" | grep -v -E \
  '^(ZR_|ZRProc_|vtable for ZR|typeinfo for ZR|typeinfo name for ZR|SetContainsString\(|_Compatibility[A-Z0-9]+$|_JacData[A-Z0-9]+$|[A-Z0-9]+(Factory|PropertyInfo)$)' \
  | grep -v -E '^(_init|_fini|_edata|_end|__bss_start)$' || true)
if [ -n "$bad" ]; then
  echo "unexpected dynamic symbols in $lib:"; printf '%s\n' "$bad"; exit 1
fi
for sym in _Znwm _Znam _ZdlPv _ZdaPv _ZdlPvm _Znwj _Znaj; do
  if grep -qx "$sym" <<<"$defined"; then echo "allocation operator $sym is exported"; exit 1; fi
done
for t in GENERICCONNECTION CONNECTION GENERICCONTROLSIGNAL CONTROLSIGNAL; do
  for s in "${t}Factory" "${t}PropertyInfo" "_Compatibility$t" "_JacData$t"; do
    grep -qx "$s" <<<"$defined" || { echo "missing entry point $s"; exit 1; }
  done
done
for c in ZR_CONNECTION ZR_GENERICCONNECTION ZR_CONTROLSIGNAL ZR_GENERICCONTROLSIGNAL ZR_CONTROLPORT ZR_CONNECTIONPORT; do
  for s in "vtable for $c" "typeinfo for $c"; do
    grep -qx "$s" <<<"$demangled" || { echo "class data not exported: $s"; exit 1; }
  done
done
for c in ZR_ANGLEPARAMETER ZR_POLYPOINTSPARAM_DOMAIN ZR_BASE_II ZR_BASE_SSSS "ZR_External<ZR_CONNECTION>" \
         "ZR_Virtual<ZR_ARRAY_III<ZR_REALVARIABLE, ZR_REALVARIABLE> >"; do
  grep -qx "vtable for $c" <<<"$demangled" || { echo "class data not exported: vtable for $c"; exit 1; }
done
echo "exported symbols: $(printf '%s\n' "$defined" | wc -l) checked"
