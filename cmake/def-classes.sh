#!/usr/bin/env bash
# Completes the module definition of the Windows library at link time with its
# C++ classes, chosen by the same families as the ELF export list: every member,
# virtual table, type information and function-local static of a ZR_ or
# ZRProc_ class that the objects define. GCC exports members of class template
# instances (the type frame under every library type, the wrappers, the arrays)
# by attribute only when they are not inline; a host or model library that
# calls an overridden operation directly needs them all the same.
#   def-classes.sh NM BASE_DEF OUT_DEF OBJECT...
set -euo pipefail
nm="$1" base="$2" out="$3"
shift 3
objects=()
for o in "$@"; do
  case "$o" in *.obj | *.o) objects+=("$o") ;; esac
done

# "type name" per defined external symbol, the name without the underscore that
# i686 COFF puts before every C and C++ name.
symbols=$("$nm" -g --defined-only "${objects[@]}" |
  awk 'NF == 3 && $3 ~ /^__Z/ { print $2, substr($3, 2) }' | sort -u -k2,2)
demangled=$(awk '{ print $2 }' <<<"$symbols" | c++filt)

{
  cat "$base"
  paste -d ' ' <(printf '%s\n' "$symbols") <(printf '%s\n' "$demangled") |
    awk '{ demangled = $0; sub(/^[^ ]+ [^ ]+ /, "", demangled) }
         demangled ~ /^(ZR_|ZRProc_|(vtable for|typeinfo for|typeinfo name for|guard variable for|(non-)?virtual thunk to) (ZR_|ZRProc_)|SetContainsString\(|bool ZR_[A-Z0-9_]+::DeclareEquations<)/ {
           print "    " $2 ($1 == "T" ? "" : " DATA")
         }'
} >"$out.tmp"
# An unchanged file keeps its time, so nothing that depends on it runs again.
if cmp -s "$out.tmp" "$out"; then rm "$out.tmp"; else mv "$out.tmp" "$out"; fi
