# Sourced by scripts/test.sh: the administrators' worked example of docs/registry.md, a
# silent install with the example .reg file imported, under Wine.
echo "== registry example"
check registry-example scripts/check-registry-example.sh
