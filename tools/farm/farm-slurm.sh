#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The farm on Slurm: an array job of one task a chunk (the chunk from $SLURM_ARRAY_TASK_ID)
# and a join job that starts when every task has succeeded, both on the folders that all the
# cluster's nodes share. A task tries its chunk RETRIES times; a failed task leaves the join's
# dependency unmet, so Slurm cancels the join and the failed chunks are named. With WAIT true
# it waits for the join and returns its status, else it returns once both jobs are submitted.
#   farm-slurm.sh WORK RETRIES WAIT [sbatch's options, for both jobs...]
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/farm-lib.sh"
command -v sbatch >/dev/null || { echo "capture-farm: sbatch not found: run on a Slurm submit host" >&2; exit 2; }
loadFarm "$1" || exit 2
retries=$2
wait=$3
shift 3

chunkCommand=$(printf '%q ' "$here/farm-chunk.sh" "$work")"\$SLURM_ARRAY_TASK_ID $retries"
array=$(sbatch --parsable --job-name=capture-farm-chunks --array="0-$((chunks - 1))" \
    --output="$work/chunk-%3a.log" --open-mode=append "$@" --wrap "$chunkCommand") ||
    { echo "capture-farm: sbatch refused the chunks' array job" >&2; exit 1; }
array=${array%%;*}
joinOptions=(--parsable --job-name=capture-farm-join --dependency="afterok:$array" --kill-on-invalid-dep=yes
    --output="$work/join.log" "$@")
# A join that Slurm cancels for a failed chunk still lets `sbatch --wait` return 0: only the
# mark the join leaves when it has delivered says that it did.
rm -f "$work/joined"
joinCommand="$(printf '%q ' "$here/farm-join.sh" "$work")&& : >$(printf '%q' "$work/joined")"
if [ "$wait" != true ]; then
    join=$(sbatch "${joinOptions[@]}" --wrap "$joinCommand") ||
        { echo "capture-farm: sbatch refused the join job" >&2; exit 1; }
    echo "capture-farm: chunks in array job $array, the join in job ${join%%;*} (squeue); $out when it ends"
    exit 0
fi

begin=$SECONDS
echo "capture-farm: chunks in array job $array; waiting for the join"
sbatch "${joinOptions[@]}" --wait --wrap "$joinCommand" >"$work/join.job" &
joiner=$!
watchChunks "$joiner"
wait "$joiner"
status=$?
if [ "$status" -ne 0 ] || [ ! -e "$work/joined" ]; then
    if reportUnfinished; then
        echo "capture-farm: the join did not run; nothing delivered" >&2
    else
        tail -n 5 "$work/join.log" >&2
        echo "capture-farm: the join failed; see $work/join.log" >&2
    fi
    exit 1
fi
echo "capture-farm: $out written in $((SECONDS - begin)) s"
