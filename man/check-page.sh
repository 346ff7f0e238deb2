#!/usr/bin/env bash
# Renders one manual page as man(1) would and fails when groff warns about anything or when a
# section every page must have is missing. Usage: check-page.sh PAGE
set -u
page=$1

warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
status=$?
if [ "$status" -ne 0 ] || [ -n "$warnings" ]; then
    printf 'groff on %s: status %d\n%s\n' "$page" "$status" "$warnings" >&2
    exit 1
fi

verdict=0
for section in NAME SYNOPSIS DESCRIPTION DIAGNOSTICS 'EXIT STATUS' EXAMPLES; do
    if ! grep -Eqx "\.SH \"?$section\"?" "$page"; then
        echo "$page: no $section section" >&2
        verdict=1
    fi
done
exit $verdict
