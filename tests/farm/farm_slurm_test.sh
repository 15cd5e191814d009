#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The capture farm on a real Slurm cluster of one node that this test starts and ends itself:
# an array job of four chunks and the join that depends on it make a delivery file equal to a
# single `capture --out` by framemd5 of video and audio; a chunk that fails every try leaves
# the join unrun, and the farm names the chunk. Where the cluster cannot run here the test says
# why and fails.
#   farm_slurm_test.sh SHOW    (SHOW: the runnable folder)
set -uo pipefail
. "$(dirname "$0")/farm_helpers.sh" "$1"
. "$(dirname "$0")/slurm_cluster.sh"
trap 'stopSlurmCluster; rm -rf "$work"' EXIT
cd "$show" || exit 1

if ! startSlurmCluster "$work/cluster"; then
    echo "FAIL: cannot run a one-node Slurm cluster on this machine: $clusterProblem"
    exit 1
fi
echo "a one-node Slurm cluster: $(sinfo -h -o '%P %D node, %c CPUs, %T')"

"$capture" --out "$work/single.mp4" --size 96x54 --fps 30 --from 20 --to 30 >/dev/null 2>&1 || fail "single capture"
succeeds "farm on Slurm" "$farm" --engine slurm --chunks 4 --out "$work/farm.mp4" --size 96x54 --fps 30 \
    --from 20 --to 30 --wait
says "chunk list" "chunk 3: frames 825 to 899 (75)"
says "progress" "4 of 4 chunks done"
sameAsSingle "farm on Slurm" "$work/single.mp4" "$work/farm.mp4"

faulty=$(faultyShow)
echo fail >"$work/fault"
rm -rf "$work/farm.mp4" "$work/farm.farm"
"$farm" --engine slurm --chunks 4 --out "$work/farm.mp4" --size 96x54 --fps 30 --from 20 --to 30 --retries 2 \
    --wait --show "$faulty" >"$work/out.txt" 2>&1 && fail "farm on Slurm with a failing chunk: status 0"
says "failing chunk" "chunk 1 (frames 675 to 749) failed: capture failed"
[ ! -e "$work/farm.mp4" ] || fail "farm on Slurm with a failing chunk: a delivery file was made"
[ "$(grep -c '^=== chunk 1 .*, try' "$work/farm.farm/chunk-001.log")" = 2 ] || fail "chunk 1 was not tried twice"

[ "$failures" -eq 0 ] && echo "capture farm on Slurm: all checks passed"
exit $((failures > 0))
