#!/usr/bin/env bash
# The goals of one benchmark run as one table: every "GOAL ..." line of the log given (or of stdin),
# in the order printed. Exits 1 when any goal says NOT MET or a GOAL line is malformed, 0 otherwise
# (also when there is none).
# Usage: bash bench/goal_summary.sh [LOG]
set -u
awk -F' [|] ' '
    /^GOAL / {
        verdict = $NF
        sub(/[ \t\r]+$/, "", verdict)
        if (NF != 6 || (verdict != "met" && verdict != "NOT MET")) {
            bad = 1
            printf "malformed goal line: %s\n", $0
            next
        }
        ++goals
        id[goals] = substr($1, 6); what[goals] = $2; figure[goals] = $3; limit[goals] = $4
        ratio[goals] = $5; met[goals] = verdict
        if (verdict == "NOT MET") { bad = 1 }
    }
    END {
        printf "\n== goals\n"
        if (goals == 0) { print "(no goal lines)" }
        for (i = 1; i <= goals; ++i) {
            printf "%-20s %-9s %-16s %-22s %-12s %s\n", id[i], met[i], figure[i], limit[i], ratio[i], what[i]
        }
        exit bad ? 1 : 0
    }' "${1:-/dev/stdin}"
