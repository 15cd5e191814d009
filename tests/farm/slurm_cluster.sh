# shellcheck shell=bash disable=SC2034 # clusterProblem is for the test that sources this
# A one-node Slurm cluster for a test, all in one temporary folder: a munge key and munged on a
# socket of its own, a generated slurm.conf on free ports, slurmctld and slurmd in the foreground
# as the test's own child processes. Nothing of the machine's own Slurm or munge set-up is read
# or touched; SLURM_CONF points the client commands at this cluster.
#   . slurm_cluster.sh; startSlurmCluster DIR || ...; ...; stopSlurmCluster
# startSlurmCluster runs in the test's own shell (not in a subshell: the daemons are its
# children, to be ended by stopSlurmCluster) and leaves in clusterProblem why, when the cluster
# does not come up.

clusterPids=()
clusterProblem=""
# Says why the cluster cannot run; false, for startSlurmCluster to return.
cannot() {
    clusterProblem=$*
    return 1
}

# A TCP port nothing listens on, from a range far from the usual services.
freePort() {
    local port
    for _ in $(seq 50); do
        port=$((20000 + RANDOM % 30000))
        ss -ltn | awk '{print $4}' | grep -q ":$port\$" || { echo "$port"; return; }
    done
    return 1
}

startSlurmCluster() {
    local dir=$1 host controlPort nodePort program
    for program in munged munge slurmctld slurmd sbatch sinfo; do
        command -v "$program" >/dev/null || { cannot "$program not found (install-deps.sh farm)"; return; }
    done
    [ "$(id -u)" -eq 0 ] || { cannot "the test cluster runs its daemons as root, and this is user $(id -un)"; return; }
    host=$(hostname -s)
    controlPort=$(freePort) || { cannot "no free port"; return; }
    nodePort=$(freePort) || { cannot "no free port"; return; }
    mkdir -p "$dir/state" "$dir/spool" || return 1

    head -c 1024 /dev/urandom >"$dir/munge.key" && chmod 600 "$dir/munge.key"
    munged --foreground --force --key-file="$dir/munge.key" --socket="$dir/munge.socket" \
        --pid-file="$dir/munged.pid" --seed-file="$dir/munged.seed" --log-file="$dir/munged.log" \
        >"$dir/munged.out" 2>&1 &
    clusterPids+=($!)
    for _ in $(seq 50); do
        [ -S "$dir/munge.socket" ] && break
        sleep 0.1
    done
    munge -S "$dir/munge.socket" -n | unmunge -S "$dir/munge.socket" >/dev/null 2>&1 ||
        { cannot "munged did not start: $(tail -n 3 "$dir/munged.out")"; return; }

    # No cgroups, no accounting, no task binding: a container can run it, and every job step
    # sees all the node's processors, as a program started by hand would.
    cat >"$dir/slurm.conf" <<CONF
ClusterName=farmtest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$controlPort
SlurmdPort=$nodePort
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$dir/munge.socket
CredType=cred/munge
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
MpiDefault=none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
JobCompType=jobcomp/none
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
NodeName=farmnode NodeHostname=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=farm Nodes=farmnode Default=YES MaxTime=INFINITE State=UP
CONF
    export SLURM_CONF="$dir/slurm.conf"
    slurmctld -D -i -f "$SLURM_CONF" >"$dir/slurmctld.out" 2>&1 &
    clusterPids+=($!)
    slurmd -D -N farmnode -f "$SLURM_CONF" >"$dir/slurmd.out" 2>&1 &
    clusterPids+=($!)
    for _ in $(seq 60); do
        [ "$(sinfo -h -n farmnode -o %T 2>/dev/null)" = idle ] && return 0
        sleep 0.5
    done
    cannot "the node did not come up idle: slurmctld: $(tail -n 2 "$dir/slurmctld.out" | tr '\n' ' ')" \
        "slurmd: $(tail -n 2 "$dir/slurmd.out" | tr '\n' ' ')"
}

# Cancels what is left of the test's jobs, then ends the daemons, newest first.
stopSlurmCluster() {
    [ -z "${SLURM_CONF:-}" ] || scancel --full --quiet --user=root 2>/dev/null
    local i
    for ((i = ${#clusterPids[@]} - 1; i >= 0; --i)); do
        kill "${clusterPids[i]}" 2>/dev/null
        wait "${clusterPids[i]}" 2>/dev/null
    done
    clusterPids=()
}
