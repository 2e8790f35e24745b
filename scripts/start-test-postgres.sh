#!/usr/bin/env bash
# Starts a throwaway PostgreSQL server for the article-database tests and prints the line
#   export KALVO_TEST_PG='Driver=QPSQL;Host=127.0.0.1;Port=...;Database=...;User=...;Password=...'
# on stdout, so that a caller can do:  eval "$(scripts/start-test-postgres.sh)"
# Everything else goes to stderr. A server left running by an earlier call is stopped and
# its data folder replaced. Works as root (the server runs as the "postgres" user) or as an
# ordinary user (the server runs as that user).
#
# Environment (all optional):
#   KALVO_PG_PORT  port on 127.0.0.1 (default 55432)
#   KALVO_PG_DIR   data folder (default /tmp/kalvo-test-pg-<port>)
#   KALVO_PG_STOP  when set to 1: only stop the server and remove its folder
set -euo pipefail

port=${KALVO_PG_PORT:-55432}
dir=${KALVO_PG_DIR:-/tmp/kalvo-test-pg-$port}
db=kalvo_test
user=kalvo_test
password=kalvo_test_pw

log() { echo "start-test-postgres: $*" >&2; }

bindir=""
if command -v pg_config >/dev/null 2>&1 && [ -x "$(pg_config --bindir)/initdb" ]; then
  bindir=$(pg_config --bindir)
fi
if [ -z "$bindir" ]; then
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    if [ -x "$d/initdb" ]; then bindir=$d; break; fi
  done
fi
if [ -z "$bindir" ]; then
  log "PostgreSQL server programs not found (Debian package: postgresql)"
  exit 1
fi

# Run a server program as the owner of the cluster.
if [ "$(id -u)" = 0 ]; then
  owner=postgres
  if ! id "$owner" >/dev/null 2>&1; then
    log "user '$owner' does not exist (install the postgresql package)"
    exit 1
  fi
  as_owner() { runuser -u "$owner" -- "$@"; }
else
  owner=$(id -un)
  as_owner() { "$@"; }
fi

stop_old() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    log "stopping the old server in $dir"
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >&2 2>&1 || true
  fi
  # a server whose folder was removed under it still holds the port: find it by its pid file
  rm -rf "$dir"
}

stop_old
if [ "${KALVO_PG_STOP:-0}" = 1 ]; then
  exit 0
fi

mkdir -p "$dir"
chmod 0700 "$dir"
[ "$(id -u)" = 0 ] && chown "$owner" "$dir"

pwfile="$dir/pwfile"
printf '%s\n' "$password" > "$pwfile"
[ "$(id -u)" = 0 ] && chown "$owner" "$pwfile"
chmod 0600 "$pwfile"

log "creating a cluster in $dir/data"
as_owner "$bindir/initdb" -D "$dir/data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
  --encoding=UTF8 --locale=C.UTF-8 --pwfile="$pwfile" >&2
rm -f "$pwfile"

log "starting the server on 127.0.0.1:$port"
as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
  -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
  start >&2 || { log "the server did not start:"; cat "$dir/server.log" >&2 || true; exit 1; }

psql_admin() { as_owner "$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -p "$port" -U postgres -d postgres "$@"; }
psql_admin -c "CREATE ROLE $user LOGIN PASSWORD '$password';" >&2
psql_admin -c "CREATE DATABASE $db OWNER $user ENCODING 'UTF8';" >&2

echo "export KALVO_TEST_PG='Driver=QPSQL;Host=127.0.0.1;Port=$port;Database=$db;User=$user;Password=$password'"
