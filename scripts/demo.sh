#!/usr/bin/env bash
# Builds xmkclient and runs the xmk tool on a sample back-end reply.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target xmk

reply='[{"TotalCount":5,rows:[{id:1,name:"a"}]},{"TotalCount":7}]'
echo "== a back-end reply =="
echo "$reply"
echo "== xmk json =="
build/xmk json "$reply"
