#!/usr/bin/env bash
# Counts the game library's mutable file-scope variables: every data object in a writable section
# (.data, .bss and their thread-local kin) at namespace scope, named or in an anonymous namespace,
# and static class members. Left out: constant tables (.rodata and the relocated read-only
# .data.rel.ro), function-local statics, guard variables, the compiler's own DW.ref entries and the
# standard library's statics. A file-local variable counts once in each file that has it; a shared
# one once. A maintenance figure, not a test. Usage: count_globals.sh LIBQM.a
set -euo pipefail
objdump -t -C "$1" | awk -F'\t' '
  /^In archive / { next }
  /: +file format / { member = $0; sub(/: +file format.*/, "", member); next }
  NF < 2 { next }
  {
    head = $1; rest = $2
    # head: "<address> <seven flag columns> <section>"; rest: "<size> <name>"
    section = head; sub(/.* /, "", section)
    flags = substr(head, 18, 7)
    if (flags !~ /O/ && section !~ /^\.t(bss|data)/) next  # thread-locals are typed apart
    if (section !~ /^\.(t?bss|t?data)(\.|$)/ || section ~ /^\.data\.rel\.ro(\.|$)/) next
    name = rest; sub(/^[0-9a-f]+ +/, "", name); sub(/^\.hidden /, "", name)
    if (name ~ /^(DW\.ref\.|guard variable|std::|__)/) next
    plain = name; gsub(/\(anonymous namespace\)::/, "", plain)
    if (plain ~ /\)::/) next  # a function-local static
    key = (substr(flags, 1, 1) == "l" ? member " " : "") name
    if (!(key in seen)) { seen[key] = 1; n++ }
  }
  END { print n + 0 }'
