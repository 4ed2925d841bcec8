#!/usr/bin/env bash
# Fails when a C++ file of src/ host/ platform/ tests/ bench/ differs from what clang-format makes of it with the
# repository's .clang-format; prints the files that differ. `--fix` rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
command -v "$format" >/dev/null || { echo "check-format: $format not found" >&2; exit 2; }
mapfile -t files < <(git ls-files -- src host platform tests bench | grep -E '\.(cpp|hpp|h|cc)$')
if [[ ${1:-} == --fix ]]; then
  "$format" -i --style=file "${files[@]}"
  exit 0
fi
differ=0
for f in "${files[@]}"; do
  if ! "$format" --style=file "$f" | cmp -s - "$f"; then
    echo "$f"
    differ=$((differ + 1))
  fi
done
if ((differ > 0)); then
  echo "check-format: $differ of ${#files[@]} files differ from clang-format (scripts/check-format.sh --fix)" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
