#!/usr/bin/env bash
# make test-cluster: a one-node Slurm cluster on this machine (as root), a
# job array of four tasks over one experiment, the task tables and records
# merged and compared byte for byte (the records but for their command line)
# with the same experiment run by one keldo-run with two jobs. Everything lives in BUILD/cluster; the daemons started here are
# stopped by their PIDs on the way out, whatever happened.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
run="$build/bin/keldo-run"
dir="$build/cluster"
host=$(hostname -s)
export SLURM_CONF="$dir/slurm.conf"

falhar() { echo "testar-cluster: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || falhar "precisa de root (munged e slurmd)"
[ -x "$run" ] || falhar "keldo-run não foi compilado em $build"
for p in munged slurmctld slurmd sbatch sinfo; do
    command -v "$p" >/dev/null || falhar "$p não instalado (Debian: slurm-wlm e munge)"
done

pids=()
parar() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
}
trap parar EXIT

rm -rf "$dir"
mkdir -p "$dir"/{munge,estado,spool,log,trabalho}
chmod 700 "$dir/munge"

# munge: a key of our own and a socket in the build folder, not the system's.
dd if=/dev/urandom of="$dir/munge/munge.key" bs=1024 count=1 status=none
chmod 400 "$dir/munge/munge.key"
socket="$dir/munge/munge.socket"
munged --foreground --force --key-file="$dir/munge/munge.key" --socket="$socket" \
    --pid-file="$dir/munge/munged.pid" --log-file="$dir/log/munged.log" \
    --seed-file="$dir/munge/munged.seed" >"$dir/log/munged.out" 2>&1 &
pids+=($!)

# Ports of our own, so that a cluster already on this machine is left alone.
porta=$((20000 + RANDOM % 20000))
cat > "$SLURM_CONF" <<FIM
ClusterName=keldo
SlurmctldHost=$host
SlurmctldPort=$porta
SlurmdPort=$((porta + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$socket
CredType=cred/munge
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MailProg=/bin/true
JobCompType=jobcomp/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
StateSaveLocation=$dir/estado
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
NodeName=$host CPUs=2 State=UNKNOWN
PartitionName=keldo Nodes=$host Default=YES MaxTime=INFINITE State=UP
FIM

for i in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
slurmctld -D -i -f "$SLURM_CONF" >"$dir/log/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$SLURM_CONF" >"$dir/log/slurmd.out" 2>&1 &
pids+=($!)
vivos() { local p; for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null || return 1; done; }
for i in $(seq 60); do
    sinfo -h -o %T 2>/dev/null | grep -qx idle && break
    vivos || break
    sleep 1
done
sinfo -h -o %T 2>/dev/null | grep -qx idle ||
    { tail -n 20 "$dir"/log/*.log >&2; falhar "o nó não ficou pronto"; }

experimento=(--experiment --seed 5 --replicates 6 --vary morte_mm=0,40 --cycles 300 --every geracao
             --until fixacao:M --until sem-adultos
             --set numIndividuos=60)
cat > "$dir/tarefa.sh" <<FIM
#!/bin/bash
exec "$run" ${experimento[*]} --jobs 1 \\
    --task \$SLURM_ARRAY_TASK_ID/4 --table part-\$SLURM_ARRAY_TASK_ID.csv
FIM
cd "$dir/trabalho"
sbatch --wait --array=0-3 --chdir="$dir/trabalho" --output="$dir/log/tarefa-%a.out" \
    "$dir/tarefa.sh" >/dev/null || { cat "$dir"/log/tarefa-*.out >&2; falhar "o job array falhou"; }
"$run" --merge juntas.csv part-0.csv part-1.csv part-2.csv part-3.csv
"$run" "${experimento[@]}" --jobs 2 --table uma.csv 2>/dev/null
cmp juntas.csv uma.csv || falhar "a tabela juntada difere da de uma só máquina"
# The records too, but for the command line: each one's own.
cmp <(grep -v '^  "comando": ' juntas.csv.json) <(grep -v '^  "comando": ' uma.csv.json) ||
    falhar "o registro juntado difere do de uma só máquina"
echo "testar-cluster: $(($(wc -l < uma.csv) - 1)) linhas de 4 tarefas Slurm iguais às de uma máquina"
