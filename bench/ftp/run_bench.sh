#!/usr/bin/env bash
# Uploads 1,000 files of 4 KB (one folder) and one 200 MB file to a local ProFTPD (without
# mod_digest, so nothing is verified) with our uploader and with lftp (mirror -R and put,
# active mode), each RUNS times (default 3), every run into an emptied server folder. Times
# are whole runs of each client: start, login, upload, quit. The driver's own line, which
# times the upload alone, goes to standard error.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" lftp
runs="${RUNS:-3}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target ftp_upload_bench >/dev/null

work="$(mktemp -d)"
server_pid=""
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/server" "$work/root" "$work/data/tree"
for i in $(seq -w 1 1000); do head -c 4096 /dev/urandom > "$work/data/tree/f$i.bin"; done
head -c $((200 * 1024 * 1024)) /dev/urandom > "$work/data/big.bin"

/usr/bin/python3 tests/ftp/proftpd_server.py --dir "$work/server" --root "$work/root" --no-digest \
  > "$work/port.txt" 2>"$work/server.err" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port.txt" ] && break; sleep 0.1; done
port="$(head -1 "$work/port.txt")"
for _ in $(seq 50); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done

lftp_run() { # $1: lftp commands after the connection settings
  lftp -u tester,secret -e "set ftp:passive-mode off; set ftp:ssl-allow no; set cmd:fail-exit yes; $1; quit" \
    "ftp://127.0.0.1:$port" >/dev/null
}
seconds() { local s e; s=$(date +%s.%N); "$@" >&2; e=$(date +%s.%N); echo "$e - $s" | bc -l; }
# The server must hold what was sent: $1 files, $2 bytes in all.
check() {
  local files bytes
  files=$(find "$work/root" -type f | wc -l)
  bytes=$(find "$work/root" -type f -printf '%s\n' | awk '{s+=$1} END {print s+0}')
  [ "$files" -eq "$1" ] && [ "$bytes" -eq "$2" ] || { echo "server holds $files files, $bytes bytes" >&2; exit 1; }
}

for run in $(seq "$runs"); do
  rm -rf "${work:?}/root"/*
  t=$(seconds build/bench/ftp/ftp_upload_bench 127.0.0.1 "$port" tester secret "$work/data/tree")
  check 1000 4096000
  printf 'tree run %s corvanta: 1000 files in %.3f s: %.1f files/s\n' "$run" "$t" "$(echo "1000 / $t" | bc -l)"
  rm -rf "${work:?}/root"/*
  t=$(seconds lftp_run "mirror -R $work/data/tree tree")
  check 1000 4096000
  printf 'tree run %s lftp: 1000 files in %.3f s: %.1f files/s\n' "$run" "$t" "$(echo "1000 / $t" | bc -l)"
  rm -rf "${work:?}/root"/*
  t=$(seconds build/bench/ftp/ftp_upload_bench 127.0.0.1 "$port" tester secret "$work/data/big.bin")
  check 1 209715200
  printf 'file run %s corvanta: 200 MiB in %.3f s: %.1f MB/s\n' "$run" "$t" "$(echo "209.7152 / $t" | bc -l)"
  rm -rf "${work:?}/root"/*
  t=$(seconds lftp_run "put $work/data/big.bin -o big.bin")
  check 1 209715200
  printf 'file run %s lftp: 200 MiB in %.3f s: %.1f MB/s\n' "$run" "$t" "$(echo "209.7152 / $t" | bc -l)"
done
