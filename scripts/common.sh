# Shared steps of the project's commands: install what is missing, build.
# Sourced by run.sh and test.sh.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TARVESA_BUILD_DIR:-$ROOT/build}"

say() { printf '\n==> %s\n' "$*"; }

# qt6-base-dev carries Qt's print support (the monthly report's preview,
# printing and PDF); the tests read the PDF back with poppler-utils'
# pdftotext.
PACKAGES=(build-essential cmake pkg-config qt6-base-dev libgl-dev libmariadb-dev
          mariadb-server mariadb-client fonts-dejavu-core fonts-wine openssl poppler-utils)
# Only scripts/cluster.sh needs these: the replication library and the tool
# of its full state transfer.
CLUSTER_PACKAGES=(galera-4 rsync)

# install_missing [PACKAGE...]: the given packages, PACKAGES by default.
install_missing() {
    local wanted=("$@") missing=()
    [ $# -gt 0 ] || wanted=("${PACKAGES[@]}")
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "Dependencies present"
        return
    fi
    say "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    # The package scripts may try to start the system's own MariaDB service;
    # we never use it, so a refusal there is harmless.
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure() {
    say "Configuring (CMake) in $BUILD"
    cmake -S "$ROOT" -B "$BUILD" >/dev/null
}

build_all() {
    configure
    say "Building"
    cmake --build "$BUILD" -j "$(nproc)"
}

# Only the program: a first run need not wait for the test suites and
# benchmarks. (The server's generated files come from the configure step.)
build_client() {
    configure
    say "Building the client"
    cmake --build "$BUILD" -j "$(nproc)" --target tarvesa
}

# The demo database in SCHEMA of the private server at SOCKET (a label such
# as "through node 1" may follow): loaded on first use, later brought to
# this release's version with its data kept. A demo loaded before the schema
# had versions is loaded anew: its data is dated relative to the load day
# anyway.
demo_database() {
    local sock="$1" schema="$2" where="${3:-}" account="$BUILD/server/app-account.sql" has
    [[ "$schema" =~ ^[A-Za-z0-9_]{1,64}$ ]] || { echo "Schema name '$schema' is not allowed" >&2; exit 1; }
    has="$(mariadb --no-defaults -uroot --socket="$sock" -N -e "
        SELECT CONCAT((SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = '$schema'),
                      (SELECT COUNT(*) FROM information_schema.TABLES
                        WHERE TABLE_SCHEMA = '$schema' AND TABLE_NAME = 'kinerja_migrasi'))")"
    case "$has" in
        0*)
            say "Loading the demo database '$schema'${where:+ $where}"
            bash "$ROOT/scripts/dbload.sh" "$sock" "$schema" demo "$account"
            ;;
        10)
            say "The demo database '$schema' predates schema versions: loading it anew${where:+ $where}"
            bash "$ROOT/scripts/dbload.sh" "$sock" "$schema" demo "$account"
            ;;
        *)
            say "Upgrading '$schema' and reloading its procedures${where:+ $where} (demo data kept)"
            bash "$ROOT/scripts/dbload.sh" "$sock" "$schema" upgrade "$account"
            ;;
    esac
}
