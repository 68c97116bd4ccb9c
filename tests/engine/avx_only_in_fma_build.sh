#!/bin/sh
# Fails when a function of BINARY that is not the FMA build's own (namespace
# steps::fma, chosen only where the processor has FMA and AVX2) holds an AVX
# instruction (VEX-encoded: every mnemonic that starts with "v"): the program
# would run it, or might, on a processor without AVX. With "fma", the FMA
# build must be there too, so that the check cannot pass on nothing.
#   avx_only_in_fma_build.sh BINARY [fma]
set -eu
# Mangled names, which say where a function belongs whatever its return type
# or template arguments: _ZN5steps3fma..., or _ZZN5steps3fma... for what is local to one of them.
status=0
report=$(objdump -d --no-show-raw-insn "$1" | awk -v fma="${2:-}" '
  /^[0-9a-f]+ <.*>:$/ { name = substr($0, index($0, "<") + 1); sub(/>:$/, "", name); next }
  /^ *[0-9a-f]+:\t/ {
    split($0, field, "\t")
    if (field[2] ~ /^v[a-z]/) avx[name] = 1
  }
  END {
    own = 0; others = 0
    for (name in avx) {
      if (name ~ /^_Z+N[KVRO]*5steps3fma/) own++
      else { print "AVX outside the FMA build: " name; others++ }
    }
    if (fma == "fma" && own == 0) { print "no AVX in the FMA build: nothing was checked"; exit 1 }
    printf "%d functions of the FMA build hold AVX, %d others\n", own, others
    exit others > 0
  }') || status=$?
printf '%s\n' "$report" | c++filt
exit "$status"
