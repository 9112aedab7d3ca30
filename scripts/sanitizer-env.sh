#!/usr/bin/env bash
# Runs a command with the settings every sanitized run of taVok uses: leak detection on, with only the
# system-library leaks of scripts/lsan.supp suppressed, undefined behaviour fatal and reported with a
# stack, and Mesa's driver kept loaded.
#
# Why the driver is preloaded: libGL loads Mesa's DRI driver (and LLVM with it) when the window opens
# and unloads it again when the display closes. Leaks that Mesa made inside the driver are reported at
# exit, after the unload, as frames of an "<unknown module>" that no suppression can name. With the
# driver preloaded the unload keeps it mapped: its globals stay reachable (so its caches are not leaks at
# all) and anything it does leak is reported with its real module name.
#
# Usage: scripts/sanitizer-env.sh COMMAND [ARGUMENTS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

driver=""
for dir in "/usr/lib/$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)/dri" /usr/lib/dri /usr/lib64/dri; do
    if [ -f "$dir/swrast_dri.so" ]; then
        driver="$dir/swrast_dri.so"
        break
    fi
done
if [ -n "$driver" ]; then
    export LD_PRELOAD="$driver${LD_PRELOAD:+:$LD_PRELOAD}"
fi
exec "$@"
