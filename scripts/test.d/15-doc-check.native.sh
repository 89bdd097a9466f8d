# Sourced by scripts/test.sh in the native lane: the README and the pages of docs/ name only what the repository
# holds: every link and picture, and every scripts/... or tools/... path
# (scripts/check-docs.sh; its log lists each fault by file and line).
stage_start "doc check"
check doc-check scripts/check-docs.sh
stage_end "doc check"
