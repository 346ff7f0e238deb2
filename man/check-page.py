#!/usr/bin/env python3
"""Renders one manual page as man(1) would and fails when groff warns about anything or when a
section every page must have is missing. Usage: check-page.py PAGE"""

import re
import subprocess
import sys

SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "DIAGNOSTICS", "EXIT STATUS", "EXAMPLES"]


def main():
    page = sys.argv[1]
    rendered = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", page],
                              capture_output=True, text=True)
    warnings = rendered.stdout + rendered.stderr
    if rendered.returncode != 0 or warnings:
        print(f"groff on {page}: status {rendered.returncode}\n{warnings}", file=sys.stderr)
        return 1
    with open(page, encoding="utf-8") as source:
        text = source.read()
    missing = [section for section in SECTIONS
               if not re.search(rf'^\.SH "?{section}"?$', text, re.MULTILINE)]
    for section in missing:
        print(f"{page}: no {section} section", file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
