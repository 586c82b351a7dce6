#!/usr/bin/env bash
# The model library's dynamic symbol table holds its entry points, data records
# and classes, and nothing else: above all not the allocation operators, which
# would otherwise replace the host process's own.
set -euo pipefail
lib="$1" types_file="$2"
defined=$(nm -D --defined-only "$lib" | awk '{print $3}')
demangled=$(printf '%s\n' "$defined" | c++filt)
bad=$(printf '%s\n' "$demangled" | grep -v -E \
  '^(ZR_|ZRProc_|vtable for ZR|typeinfo for ZR|typeinfo name for ZR|SetContainsString\(|_Compatibility[A-Z0-9]+$|_JacData[A-Z0-9]+$|[A-Z0-9]+(Factory|PropertyInfo)$)' \
  | grep -v -E '^(_init|_fini|_edata|_end|__bss_start)$' || true)
if [ -n "$bad" ]; then
  echo "unexpected dynamic symbols in $lib:"; printf '%s\n' "$bad"; exit 1
fi
for sym in _Znwm _Znam _ZdlPv _ZdaPv _ZdlPvm _Znwj _Znaj; do
  if printf '%s\n' "$defined" | grep -qx "$sym"; then echo "allocation operator $sym is exported"; exit 1; fi
done
for t in $(sed -e 's/#.*//' "$types_file"); do
  for s in "${t}Factory" "${t}PropertyInfo" "_Compatibility$t" "_JacData$t"; do
    printf '%s\n' "$defined" | grep -qx "$s" || { echo "missing entry point $s"; exit 1; }
  done
done
for c in ZR_CONNECTION ZR_GENERICCONNECTION ZR_CONTROLSIGNAL ZR_GENERICCONTROLSIGNAL ZR_CONTROLPORT ZR_CONNECTIONPORT; do
  for s in "vtable for $c" "typeinfo for $c"; do
    printf '%s\n' "$demangled" | grep -qx "$s" || { echo "class data not exported: $s"; exit 1; }
  done
done
echo "exported symbols: $(printf '%s\n' "$defined" | wc -l) checked"
