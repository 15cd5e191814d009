#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The farm on GNU parallel: one job a chunk, on this machine's job slots or, with --sshlogin or
# --sshloginfile among the options, on other machines that see the work folder, the runnable
# folder and this folder at the same paths. A failed chunk is tried again (--retries), then the
# chunks are joined here.
#   farm-parallel.sh WORK RETRIES JOBS [parallel's options...]   (JOBS "": parallel's default)
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/farm-lib.sh"
command -v parallel >/dev/null || { echo "capture-farm: GNU parallel not found (apt-get install parallel)" >&2; exit 2; }
loadFarm "$1" || exit 2
retries=$2
options=(--will-cite --retries "$retries" --joblog "$work/parallel.joblog")
[ -z "$3" ] || options+=(--jobs "$3")
shift 3

begin=$SECONDS
parallel "${options[@]}" "$@" "$here/farm-chunk.sh" "$work" '{}' ::: $(seq 0 $((chunks - 1))) &
runner=$!
watchChunks "$runner"
wait "$runner"
status=$?
if [ "$status" -ne 0 ]; then
    reportUnfinished
    echo "capture-farm: GNU parallel ended with status $status after $retries tries a chunk; nothing joined" >&2
    exit 1
fi
echo "capture-farm: all $chunks chunks rendered in $((SECONDS - begin)) s; joining"
"$here/farm-join.sh" "$work" 2> >(tee -a "$work/join.log" >&2) || exit 1
echo "capture-farm: $out written in $((SECONDS - begin)) s"
