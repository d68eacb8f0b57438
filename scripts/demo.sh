#!/usr/bin/env bash
# The main job, as far as it goes today: installs what is missing, builds, creates
# the demo market and starts the reference download server on a free loopback
# port, where it greets a client. (Downloading from it with kvqt arrives with the
# command line.)
set -euo pipefail

cd "$(dirname "$0")/.."
scripts/setup.sh build
cmake --build build -j"$(nproc)" --target kvqt kvqt-info kvqt-server

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
build/server/kvqt-server init-demo "$demo/demo.db"
build/server/kvqt-server info "$demo/demo.db"

build/server/kvqt-server serve "$demo/demo.db" --port 0 >"$demo/server.out" 2>"$demo/server.log" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q listening "$demo/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$demo/server.out")
echo "demo: server listening on 127.0.0.1:$port"

exec 3<>"/dev/tcp/127.0.0.1/$port"
IFS= read -r -t 5 greeting <&3 || true
exec 3>&-
echo "demo: the server says: ${greeting%$'\r'}"
