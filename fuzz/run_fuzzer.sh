#!/bin/sh
# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Runs a fuzzer for a bounded number of inputs, starting from its seed corpus,
# with new inputs going to a scratch folder so the repository stays as it is.
#
#   run_fuzzer.sh FUZZER SEED_CORPUS RUNS
set -eu
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
exec "$1" -runs="$3" -seed=1 -max_len=4096 -max_total_time=300 -print_final_stats=1 \
    "$scratch" "$2"
