#!/usr/bin/env bash
# The globals count on a planted library: what it counts (variables in an anonymous namespace, a
# shared one, a static member, a thread-local one) and what it leaves out (a constant table with
# pointers, a function-local static, a constant).
set -u
script="$1" cxx="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/planted.cpp" <<'CPP'
namespace {
int steps;
char line[32] = "ready";
}  // namespace
int shared_total = 3;
struct Pool { static int used; };
int Pool::used = 0;
thread_local int per_thread;
struct Row { const char* name; int value; };
extern const Row TABLE[] = {{"a", 1}, {"b", 2}};
namespace { const int LIMIT = 5; }
int bump() { static int calls; steps++; line[0]++; per_thread++; return ++calls + LIMIT + Pool::used; }
CPP
"$cxx" -std=c++20 -O0 -fPIC -c "$work/planted.cpp" -o "$work/planted.o" || exit 1
ar rcs "$work/libplanted.a" "$work/planted.o"
got=$("$script" "$work/libplanted.a")
[ "$got" = 5 ] || { echo "counted $got of the 5 mutable file-scope variables"; exit 1; }
echo "count ok"
