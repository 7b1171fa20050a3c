#!/usr/bin/env python3
"""Reads `ctest --show-only=json-v1` on stdin and prints a ctest -R expression naming exactly
the tests whose programs were built (a sanitizer build makes only some of them), leaving out end-to-end
tests. Prints nothing when no test qualifies."""
import json
import os
import re
import sys

# The demo disc maker is a build tool; its tests stay with the native run.
EXCLUDED_LABELS = {"e2e", "gui", "windows", "demodisc"}

def labels(test):
    for prop in test.get("properties", []):
        if prop.get("name") == "LABELS":
            return set(prop.get("value", []))
    return set()

def built(command):
    if not command:
        return False
    program = command[0]
    if os.path.basename(program) == "bash":
        # A script run on a program: every program it names must exist.
        named = [arg for arg in command[1:] if os.path.isabs(arg) and "/bin/" in arg]
        return bool(named) and all(os.path.exists(arg) for arg in named)
    return os.path.exists(program)

tests = json.load(sys.stdin)["tests"]
chosen = [re.escape(t["name"]) for t in tests
          if not t["name"].endswith("_NOT_BUILT") and built(t.get("command", []))
          and not (labels(t) & EXCLUDED_LABELS)]
if chosen:
    print("^(" + "|".join(chosen) + ")$")
