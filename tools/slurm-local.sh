#!/usr/bin/env bash
# A one-machine Slurm cluster for trying farm jobs and for the tests: munged, slurmctld and slurmd
# run as root with a configuration, key, state, logs and sockets of their own under DIR, on ports
# nobody else listens on. Nothing under /etc is read or written, so the machine's own Slurm (if it
# has one) is left alone.
#
#   tools/slurm-local.sh start DIR    # starts the daemons, waits until the node takes jobs
#   tools/slurm-local.sh stop DIR     # stops them (what start left running, by its pid files)
#   tools/slurm-local.sh env DIR      # prints the line that points sbatch, squeue, ... at it
#
# After start, the client commands reach the cluster with SLURM_CONF=DIR/slurm.conf in the
# environment (start prints that line too). The node is this machine, with its processors and
# memory, in one partition "local". Needs the Debian packages slurm-wlm and munge, and root.
set -euo pipefail

usage() {
  echo "usage: $0 start|stop|env DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
action=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)
conf=$dir/slurm.conf
socket=$dir/munge/munge.socket

die() {
  echo "slurm-local: $*" >&2
  exit 1
}

# Says why, with the daemons' last log lines, stops what did start, and ends.
fail() {
  echo "slurm-local: $*; the last lines of the logs in $dir/log:" >&2
  for log in "$dir"/log/*.log; do
    [ -f "$log" ] && { echo "== $log"; tail -n 5 "$log"; } >&2
  done
  stop
  exit 1
}

# The pid in FILE, when that process is still there.
running_pid() {
  local pid
  [ -s "$1" ] || return 1
  pid=$(cat "$1")
  kill -0 "$pid" 2>/dev/null && echo "$pid"
}

stop_one() {
  local pid
  pid=$(running_pid "$1") || return 0
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
}

stop() {
  # Jobs still running end with their daemons.
  stop_one "$dir/run/slurmd.pid"
  stop_one "$dir/run/slurmctld.pid"
  stop_one "$dir/run/munged.pid"
}

# Two neighbouring TCP ports nobody listens on, from 16817 up.
free_ports() {
  local taken port
  taken=$(ss -Htln 2>/dev/null | awk '{print $4}' | sed 's/.*://')
  for ((port = 16817; port < 17817; port += 2)); do
    if ! grep -qx -e "$port" -e "$((port + 1))" <<<"$taken"; then
      echo "$port"
      return
    fi
  done
  die "no free ports between 16817 and 17817"
}

write_config() {
  local port cpus memory
  port=$(free_ports)
  cpus=$(nproc)
  # What the node offers jobs: the machine's memory but a little for everything else.
  memory=$(awk '/MemTotal/ {print int($2 / 1024 * 0.9)}' /proc/meminfo)
  # Processes are tracked by their parents, tasks need no binding and nothing uses cgroups, so
  # the daemons run in containers too; SlurmdParameters lets the node be described as above
  # whatever slurmd finds.
  cat >"$conf" <<EOF
ClusterName=qzmlocal
SlurmctldHost=localhost(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$socket
CredType=cred/munge
StateSaveLocation=$dir/state/ctld
SlurmdSpoolDir=$dir/state/slurmd
SlurmctldPidFile=$dir/run/slurmctld.pid
SlurmdPidFile=$dir/run/slurmd.pid
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
PlugStackConfig=$dir/plugstack.conf
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SwitchType=switch/none
MpiDefault=none
SchedulerType=sched/builtin
SchedulerParameters=batch_sched_delay=0,sched_min_interval=0
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SlurmdParameters=config_overrides
ReturnToService=2
MaxArraySize=100001
MinJobAge=30
NodeName=qzmlocal NodeHostname=localhost NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=$memory State=UNKNOWN
PartitionName=local Nodes=qzmlocal Default=YES MaxTime=INFINITE State=UP
EOF
  : >"$dir/plugstack.conf"
}

start() {
  [ "$(id -u)" -eq 0 ] || die "the daemons run as root; run this as root"
  local missing=()
  for p in munged slurmctld slurmd sinfo; do
    command -v "$p" >/dev/null || [ -x "/usr/sbin/$p" ] || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] ||
    die "missing ${missing[*]}: install the Debian packages slurm-wlm and munge (tools/install-packages.sh farm slurm-wlm munge)"
  stop
  rm -rf "$dir/state" "$dir/run" "$dir/log" "$dir/munge"
  mkdir -p "$dir/state/ctld" "$dir/state/slurmd" "$dir/run" "$dir/log" "$dir/munge"
  # munged refuses folders others may write to and keys others may read; clients of every user
  # reach its socket through the folder.
  chmod 711 "$dir/munge"
  head -c 1024 /dev/urandom >"$dir/munge/munge.key"
  chmod 400 "$dir/munge/munge.key"

  PATH=$PATH:/usr/sbin
  # Clusters started side by side (tests run in parallel) must not pick the same ports: choosing
  # them and binding them happen under one lock, which no daemon inherits.
  exec 9>"${TMPDIR:-/tmp}/qzm-slurm-local.lock"
  flock 9
  write_config
  munged --force --socket="$socket" --key-file="$dir/munge/munge.key" --pid-file="$dir/run/munged.pid" \
    --log-file="$dir/log/munged.log" --seed-file="$dir/munge/munged.seed" 9>&- ||
    fail "munged did not start"
  slurmctld -f "$conf" 9>&- || fail "slurmctld did not start"
  slurmd -f "$conf" -N qzmlocal 9>&- || fail "slurmd did not start"

  # Ready when the node is idle, which takes a moment; a daemon that ended meanwhile is not coming.
  local state="" deadline=$((SECONDS + 30))
  while [ "$state" != idle ]; do
    for d in munged slurmctld slurmd; do
      # A daemon writes its pid file a moment after it forks.
      if [ -s "$dir/run/$d.pid" ] || [ $SECONDS -gt $((deadline - 25)) ]; then
        running_pid "$dir/run/$d.pid" >/dev/null || fail "$d ended while starting"
      fi
    done
    [ $SECONDS -lt $deadline ] || fail "the node did not become idle within 30 s (state: ${state:-no answer})"
    state=$(SLURM_CONF=$conf timeout 5 sinfo -h -n qzmlocal -o %T 2>/dev/null || true)
    [ "$state" = idle ] || sleep 0.1
  done
  exec 9>&-
  echo "export SLURM_CONF=$conf"
}

case $action in
  start) start ;;
  stop) stop ;;
  env) echo "export SLURM_CONF=$conf" ;;
  *) usage ;;
esac
