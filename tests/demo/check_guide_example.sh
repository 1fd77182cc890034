#!/usr/bin/env bash
# The host developer's guide quotes the minimal host whole, in the ```c block that follows the
# line "<!-- docs/minimal_host.c -->"; it must be the file the build compiles.
#   check_guide_example.sh GUIDE SOURCE
set -euo pipefail
quoted=$(awk '/^<!-- docs\/minimal_host.c -->$/{want=1; next}
    want && /^```c$/{on=1; next} on && /^```$/{exit} on{print}' "$1")
if [ "$quoted" != "$(cat "$2")" ]; then
    echo "the guide's minimal host differs from $2:"
    diff <(echo "$quoted") "$2" || true
    exit 1
fi
echo "the guide quotes $2 as it is"
