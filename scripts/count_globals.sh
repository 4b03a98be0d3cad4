#!/usr/bin/env bash
# Counts the game library's file-scope mutable variables (writable data and bss symbols that are
# not function-local statics). A maintenance figure, not a test. Usage: count_globals.sh LIBQM.a
set -euo pipefail
nm -C --defined-only "$1" | awk '$2 ~ /^[BbDd]$/' | cut -d' ' -f3- | grep -v -E '\)::|^guard variable|^_|^\.' | sort -u | wc -l
