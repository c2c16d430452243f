#!/usr/bin/env bash
# The man page in docs/ is what scripts/make-manpage writes from the built tool's --help.
set -euo pipefail
source_dir="$1" cli="$2" written="$3"
"$source_dir/scripts/make-manpage" "$cli" "$written"
if ! diff -u "$source_dir/docs/pelvaron-cli.1" "$written"; then
  echo "docs/pelvaron-cli.1 is out of step with pelvaron-cli --help: run scripts/make-manpage" >&2
  exit 1
fi
