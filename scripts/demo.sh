#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs Kvqt unattended
# against the reference download server and its demo market, as a cron job on
# a machine without a display would.
#
#   1. the demo market is created (once) and served on a free loopback port;
#   2. a program directory is configured with kvqt-config: the demo user, the
#      server's address, a MetaStock directory and two ASCII directories;
#   3. `kvqt -nowindow -add2master` puts a few demo instruments into the
#      MetaStock and the first ASCII directory;
#   4. a task file downloads both directories and converts the MetaStock
#      directory into the second ASCII directory;
#   5. kvqt-info shows what arrived, and the server is stopped.
#
# Everything lives under build/demo and is kept: running the demo again
# requests only the days that are missing.
set -euo pipefail

cd "$(dirname "$0")/.."
top=$PWD
scripts/setup.sh build
cmake --build build -j"$(nproc)" --target kvqt kvqt-config kvqt-info kvqt-server

kvqt=$top/build/bin/kvqt
config=$top/build/tools/kvqt-config/kvqt-config
info=$top/build/tools/kvqt-info/kvqt-info
server=$top/build/server/kvqt-server

demo=$top/build/demo
program=$demo/program
data=$demo/data
mkdir -p "$demo" "$program" "$data" "$demo/run"
chmod 700 "$demo/run"

# The store keeps the day it was made for: a new day gets a new market.
today=$(date +%Y%m%d)
if [ -f "$demo/demo.db" ] && ! "$server" info "$demo/demo.db" | grep -q "$today"; then
  rm -f "$demo/demo.db"
fi
[ -f "$demo/demo.db" ] || "$server" init-demo "$demo/demo.db"

"$server" serve "$demo/demo.db" --port 0 >"$demo/server.out" 2>"$demo/server.log" &
server_pid=$!
trap 'kill $server_pid 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  grep -q listening "$demo/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$demo/server.out")
[ -n "$port" ] || { echo "demo: the server did not start" >&2; cat "$demo/server.log" >&2; exit 1; }
echo "demo: server listening on 127.0.0.1:$port"

# kvqt runs without a window here, whatever the terminal has; its program
# directory, settings file and single-instance endpoint are the demo's own.
run_kvqt() {
  KVQT_HOME="$program" XDG_CONFIG_HOME="$demo/config" XDG_RUNTIME_DIR="$demo/run" "$kvqt" --headless "$@"
}
kvqt_config() { "$config" --dir "$program" "$@"; }

kvqt_config user demo0vqx demopass
kvqt_config server "127.0.0.1:$port"
kvqt_config add-dir MS "$data/metastock"
kvqt_config add-dir ASC "$data/ascii"
kvqt_config add-dir ASC "$data/ascii-from-metastock"

# Symbol and name per line; the start date comes from the command line.
cat >"$demo/instruments.txt" <<'EOF'
ALVR|Alvero Holding
BRMT|Bramant Industries
CDLX|Cadelux
NVX25|NVX 25 Index
EOF
start=$(date -d '-60 days' +%Y%m%d)
run_kvqt -nowindow -add2master "$demo/instruments.txt" MS "$data/metastock" "$start"
run_kvqt -nowindow -add2master "$demo/instruments.txt" ASC "$data/ascii" "$start"

cat >"$demo/demo.tsk" <<EOF
=Download(0, 1, "MS", "", "$data/metastock/", 0, 0)
=Download(0, 1, "ASC", "", "$data/ascii/", 0, 0)
=Convert("MS", "$data/metastock/", "ASC", "$data/ascii-from-metastock/", 0, 0)
EOF
run_kvqt -nowindow "$demo/demo.tsk"

echo
echo "demo: what the server was asked for in this run:"
grep -e 'request "' -e 'result ' "$demo/server.log" || echo "(nothing)"
echo
for dir in metastock ascii ascii-from-metastock; do
  echo "demo: $data/$dir"
  "$info" dir "$data/$dir"
done
echo
echo "demo: the last records of ALVR in the MetaStock directory"
"$info" records "$data/metastock" ALVR | tail -n 5
