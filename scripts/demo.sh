#!/usr/bin/env bash
# A guided tour of xmkclient: builds the library, the xmk tool and the reference back-end,
# starts the back-end on a free port with a fresh database, writes a configuration file
# that points at it, and walks the library through xmk: configuration, writes on every path,
# queries and the project-leader checks. Every step prints the request sent and the reply.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target xmk xmk-backend > /dev/null

export no_proxy=127.0.0.1,localhost NO_PROXY=127.0.0.1,localhost
work=$(mktemp -d)
backend_pid=
cleanup() {
  if [ -n "$backend_pid" ] && kill -0 "$backend_pid" 2> /dev/null; then
    kill -TERM "$backend_pid" 2> /dev/null || true
    wait "$backend_pid" 2> /dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

build/tools/xmk-backend/xmk-backend --port 0 --db "$work/demo.db" > "$work/backend.out" 2>&1 &
backend_pid=$!
port=
for _ in $(seq 1 100); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/backend.out" | head -n 1)
  [ -n "$port" ] && break
  kill -0 "$backend_pid" 2> /dev/null || break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "the back-end did not start:" >&2
  cat "$work/backend.out" >&2
  exit 1
fi
url="http://127.0.0.1:$port/UniteInterface"

cat > "$work/demo.ini" << EOF
; The suite's configuration: one section per area, a fallback section, and SYSTEM.
[Area_default]
URL0=$url
URL1=$url
URL2=$url
bNeedAudit=1
PrintModel=2

[Area_370200]
URL0=http://unused.example/only-url0
; no URL2 here, so area 370200 reads every key from Area_default

[SYSTEM]
FirstCmd=OpenProjectLibrary
AppType=3
ZbdlDogIds=101,102
ZbdlAndSgjlDogIds=201
kcsjDogIds=
EOF

xmk() { build/xmk "$@"; }
step() { printf '\n== %s\n' "$*"; }
common=(--ini "$work/demo.ini" --area 370100 --user-id 12 --app-type 3)
new_id() { sed -n 's/^new id: //p' | tail -n 1; }

step "The back-end listens at $url"

step "Configuration of area 370200 (falls back to Area_default)"
xmk config --ini "$work/demo.ini" --area 370200

step "Insert an approval (own method InsertApprovalForCpp)"
out=$(xmk --trace write insert "${common[@]}" --function-id 0 \
  --values '{Title:"Road repair",Amount:1200}')
echo "$out"
approval=$(echo "$out" | new_id)

step "Insert a generic record (uniform DoWork)"
out=$(xmk --trace write insert "${common[@]}" --function-id 7 \
  --values '{Name:"Survey",Owner:"Li"}')
echo "$out"
record=$(echo "$out" | new_id)

step "Insert a generic object (InsertObject into table Proj)"
xmk --trace write insert "${common[@]}" --app-id 5 --function-id 3 --table Proj \
  --values '{Name:"Bridge"}'

step "Update the generic record"
xmk --trace write update "${common[@]}" --function-id 7 \
  --values "{ID:$record,Name:\"Survey 2\"}"

step "Audit the generic record"
xmk --trace write audit "${common[@]}" --function-id 7 --values "{ID:$record,State:2}"

step "Delete the approval (DeleteApprovalForCpp with its id alone)"
xmk --trace write delete "${common[@]}" --function-id 0 --id "$approval"

step "Count projects (GetProjectCount) and records of function 7 (DoWork)"
xmk --trace count "${common[@]}"
xmk --trace count "${common[@]}" --function-id 7

step "A page of projects (DoWork query, page 1) and the list method"
xmk --trace projects "${common[@]}" --page 1
xmk --trace projects "${common[@]}" --list --page 1

step "Corps"
xmk --trace corps "${common[@]}"

step "The first page of projects with the total"
xmk --trace projects "${common[@]}" --first-page

step "Project-leader checks"
xmk --trace check "${common[@]}" --emp-id 1001 --corp 501 --role 3

step "The back-end's audit log"
xmk --trace call --ini "$work/demo.ini" --area 370100 --method GetLogs --arg condition ''

step "Stopping the back-end"
kill -TERM "$backend_pid"
wait "$backend_pid" && echo "stopped cleanly"
backend_pid=
