#!/usr/bin/env bash
# Builds the Debian package of the client, with the installation settings
# given as CMake options (README, "Installing for a regency"):
#   bash scripts/package.sh -DTARVESA_DB_HOST=kinerja.example -DTARVESA_DB_SCHEMA=kinerja \
#        -DTARVESA_DB_PASSWORD='...19 characters...' -DTARVESA_DB_ACCOUNT_HOST='10.20.%' \
#        -DTARVESA_DB_REQUIRE_TLS=ON -DTARVESA_DB_TLS_CA=/etc/tarvesa/ca.pem
# It builds in build-deb/ (TARVESA_PACKAGE_DIR), apart from the development
# build, and leaves the .deb there.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing
PKG="${TARVESA_PACKAGE_DIR:-$ROOT/build-deb}"
say "Configuring the client's package in $PKG"
cmake -S "$ROOT" -B "$PKG" -DCMAKE_BUILD_TYPE=Release -DTARVESA_CLIENT_ONLY=ON "$@" >/dev/null
say "Building the client"
cmake --build "$PKG" -j "$(nproc)" --target tarvesa
say "Packaging"
(cd "$PKG" && cpack -G DEB >/dev/null)
deb="$(ls -t "$PKG"/tarvesa_*.deb | head -n 1)"
say "Package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
echo "Settings: host $(sed -n 's/^TARVESA_DB_HOST:STRING=//p' "$PKG/CMakeCache.txt"), schema $(sed -n 's/^TARVESA_DB_SCHEMA:STRING=//p' "$PKG/CMakeCache.txt"), TLS required $(sed -n 's/^TARVESA_DB_REQUIRE_TLS:BOOL=//p' "$PKG/CMakeCache.txt")"
echo "Install it on a client machine with:  apt install ./$(basename "$deb")"
