#!/usr/bin/env bash
# The performance database on a three-node Galera cluster on 127.0.0.1,
# data under build/cluster/node1..3.
#   cluster.sh start    start the cluster; on first use create it and load the
#                       demo data through node 1; later the data is kept and
#                       the routines are reloaded through node 1
#   cluster.sh stop     stop the three nodes (node 1 last: it restarts the cluster)
#   cluster.sh fresh    stop, wipe, start
#   cluster.sh status   each node's port, state and cluster size
#   cluster.sh test     build the cluster test and run it on a new cluster of
#                       its own (build/cluster-test), then stop it
# Nodes listen on 30441-30443 (replication 30451-30453, incremental state
# transfer 30461-30463, full state transfer 30471-30473). Node 1 alone runs
# the scheduled jobs.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

cmd="${1:?command: start, stop, fresh, status or test}"
DIR="$BUILD/cluster"
[ "$cmd" = test ] && DIR="$BUILD/cluster-test"
NODES=(1 2 3)
node_port() { echo $((30440 + $1)); }
node_dir() { echo "$DIR/node$1"; }
members="gcomm://127.0.0.1:30451,127.0.0.1:30452,127.0.0.1:30453"

sql_node() {
    local i="$1"
    shift
    mariadb --no-defaults --default-character-set=utf8mb4 -uroot --socket="$(node_dir "$i")/s" "$@"
}
wsrep_status() { sql_node "$1" -N -e "SHOW STATUS LIKE '$2'" 2>/dev/null | cut -f2; }
running_any() {
    local i
    for i in "${NODES[@]}"; do
        local pid="$(node_dir "$i")/mariadbd.pid"
        [ -f "$pid" ] && kill -0 "$(cat "$pid")" 2>/dev/null && return 0
    done
    return 1
}

provider() {
    local lib
    lib="$(dpkg -L galera-4 2>/dev/null | grep '/libgalera_smm\.so$' | head -n 1)"
    [ -n "$lib" ] || { echo "galera-4 is not installed" >&2; exit 1; }
    echo "$lib"
}

# One node. The server runs as mysql: the rsync state transfer refuses root.
# Small buffers: three servers share two cores with everything else.
# wsrep_sync_wait=1: a read first waits for what the cluster committed
# before it, so a list reloaded through another node than the save shows
# the saved row (the client opens a new connection per operation).
start_node() {
    local i="$1" bootstrap="$2" events=()
    local opts=(--wsrep-on=ON --wsrep-provider="$(provider)" --wsrep-cluster-name=tarvesa
                --wsrep-node-name="node$i" --wsrep-node-address="127.0.0.1:$((30450 + i))"
                --wsrep-cluster-address="$members"
                --wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:$((30450 + i));ist.recv_addr=127.0.0.1:$((30460 + i));gcache.size=32M"
                --wsrep-sst-receive-address="127.0.0.1:$((30470 + i))" --wsrep-sst-method=rsync
                --wsrep-sync-wait=1
                --binlog-format=ROW --innodb-autoinc-lock-mode=2 --default-storage-engine=InnoDB
                --innodb-buffer-pool-size=64M --innodb-log-file-size=32M --max-connections=60
                --performance-schema=OFF)
    [ "$bootstrap" = yes ] && opts+=(--wsrep-new-cluster)
    # The event scheduler runs on node 1 only. Events created there reach the
    # other nodes disabled (SLAVESIDE_DISABLED) anyway; the switch makes sure
    # a reload through another node does not start a second runner.
    [ "$i" = 1 ] && events=(--events)
    bash "$ROOT/scripts/dbserver.sh" start "$(node_dir "$i")" "$(node_port "$i")" --user mysql "${events[@]}" -- "${opts[@]}"
}

wait_synced() {
    local i="$1"
    for _ in $(seq 1 600); do
        if [ "$(wsrep_status "$i" wsrep_local_state_comment)" = Synced ]; then
            return 0
        fi
        sleep 0.2
    done
    echo "node $i did not reach the Synced state; see $(node_dir "$i")/error.log" >&2
    exit 1
}

start() {
    if running_any; then
        echo "The cluster in $DIR is already running" >&2
        exit 1
    fi
    local i
    for i in "${NODES[@]}"; do
        if (exec 3<>"/dev/tcp/127.0.0.1/$(node_port "$i")") 2>/dev/null; then
            echo "Port $(node_port "$i") is taken (another cluster of this folder? cluster.sh stop)" >&2
            echo "See which program listens there:  ss -ltnp 'sport = :$(node_port "$i")'" >&2
            exit 1
        fi
    done
    mkdir -p "$DIR"
    local state="$(node_dir 1)/data/grastate.dat"
    if [ -f "$state" ] && ! grep -q '^safe_to_bootstrap: *1' "$state"; then
        # Node 1 was not the last to stop (or it crashed): starting a new
        # cluster from it could lose what the others committed after it.
        echo "Node 1 may not hold the newest data ($state); restart by hand or: cluster.sh fresh" >&2
        exit 1
    fi
    say "Starting node 1 (a new cluster from its data)"
    start_node 1 yes
    wait_synced 1
    for i in 2 3; do
        say "Starting node $i (joins and copies what it misses)"
        start_node "$i" no
        wait_synced "$i"
    done
    echo "cluster size: $(wsrep_status 1 wsrep_cluster_size)"
}

stop() {
    local i
    for i in 3 2 1; do
        [ -d "$(node_dir "$i")" ] || continue
        bash "$ROOT/scripts/dbserver.sh" stop "$(node_dir "$i")"
    done
}

status() {
    local i
    for i in "${NODES[@]}"; do
        printf 'node %s  127.0.0.1:%s  %s  cluster size %s  event scheduler %s\n' "$i" "$(node_port "$i")" \
            "$(wsrep_status "$i" wsrep_local_state_comment || true)" "$(wsrep_status "$i" wsrep_cluster_size || true)" \
            "$(sql_node "$i" -N -e 'SELECT @@event_scheduler' 2>/dev/null || echo down)"
    done
}

# The schema and its routines, loaded through node 1 (so node 1 owns the
# events): the demo on first use, upgraded with its data kept later.
load_demo() {
    local schema
    schema="$(sed -n 's/^TARVESA_DB_SCHEMA:STRING=//p' "$BUILD/CMakeCache.txt")"
    demo_database "$(node_dir 1)/s" "$schema" "through node 1"
}

case "$cmd" in
    start|fresh)
        install_missing "${PACKAGES[@]}" "${CLUSTER_PACKAGES[@]}"
        configure
        if [ "$cmd" = fresh ]; then
            stop
            rm -rf "$DIR"
        fi
        start
        load_demo
        status
        ;;
    stop) stop ;;
    status) status ;;
    test)
        install_missing "${PACKAGES[@]}" "${CLUSTER_PACKAGES[@]}"
        configure
        say "Building the cluster test"
        cmake --build "$BUILD" -j "$(nproc)" --target test_cluster
        stop
        rm -rf "$DIR"
        # Also when a node fails to start: the others must not stay behind.
        trap 'say "Stopping the test cluster"; stop' EXIT
        start
        say "Running the cluster test"
        (cd "$BUILD" && QT_QPA_PLATFORM=offscreen QTEST_FUNCTION_TIMEOUT=600000 \
             TARVESA_TEST_SOCKET="$(node_dir 1)/s" TARVESA_TEST_PORT="$(node_port 1)" \
             TARVESA_CLUSTER_PORTS="$(node_port 1),$(node_port 2),$(node_port 3)" \
             "$BUILD/tests/test_cluster" "${@:2}")
        ;;
    *) echo "unknown command $cmd" >&2; exit 2 ;;
esac
