#!/usr/bin/env bash
# Installs the build tree into a private prefix and checks what an operator and an application
# get: the programs start from the prefix, the library exports no internal name and ships no
# internal header, and consumers build against it through find_package(xmkclient) and
# pkg-config, among them the example in examples/.
set -euo pipefail
build_dir=$1
tests_dir=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$tests_dir/../.." && pwd)
work=$(mktemp -d)
backend_pid=
cleanup() {
  if [ -n "$backend_pid" ]; then kill "$backend_pid" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "consumer-test: $*" >&2
  exit 1
}

# Names that stay inside the library: none may be exported.
internal_names=(XmlEscape BuildSoapRequest ReadSoapReply SoapActionOf BuiltInSoapTransport
                RunExchange ThreadExchangeNote AtoiText AtolText)

prefix=$work/prefix
cmake --install "$build_dir" --prefix "$prefix" > /dev/null
# Nothing below may find the library anywhere but in the prefix.
unset LD_LIBRARY_PATH
libdir=$(ls -d "$prefix"/lib*/ | head -n 1)
libdir=${libdir%/}
include=$prefix/include/xmkclient
test -f "$include/xmkclient.h" || fail "xmkclient.h is not installed"
readelf -d "$libdir/libxmkclient.so" | grep -q 'SONAME.*libxmkclient.so.1' || fail "bad SONAME"

# Internal headers stay in the source tree.
if [ -n "$(find "$include" -name detail -o -name SoapEnvelope.h -o -name SoapTransport.h)" ]
then
  fail "internal headers are installed: $(find "$include" -name detail -o -name 'Soap*.h')"
fi
exported=$(nm -D -C --defined-only "$libdir/libxmkclient.so")
for name in "${internal_names[@]}"; do
  if grep -qw "$name" <<< "$exported"; then fail "libxmkclient.so exports $name"; fi
done

# One version: the header's macros, the library's XmkClientVersion() and the tool's report.
version=$(sed -n 's/^#define XMK_VERSION_STRING "\(.*\)"$/\1/p' "$include/xmkversion.h")
parts=$(sed -n 's/^#define XMK_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\)$/\2/p' \
          "$include/xmkversion.h" | paste -sd.)
[ -n "$version" ] && [ "$parts" = "$version" ] || fail "version macros disagree: $parts, $version"
readelf -d "$prefix/bin/xmk" | grep -q "RUNPATH.*\[\$ORIGIN/../${libdir##*/}\]" ||
  fail "xmk has no RUNPATH \$ORIGIN/../${libdir##*/}"
[ "$("$prefix/bin/xmk" --version)" = "xmk $version (libxmkclient $version)" ] ||
  fail "xmk --version: $("$prefix/bin/xmk" --version)"

# The back-end starts from the prefix; its first line names its port.
coproc backend { exec "$prefix/bin/xmk-backend"; }
backend_pid=$backend_PID
read -r listening <&"${backend[0]}"
port=${listening##*:}
[[ $port =~ ^[0-9]+$ ]] || fail "xmk-backend said: $listening"
url=http://127.0.0.1:$port/UniteInterface

# The consumers build against the installed tree only.
cmake -S "$tests_dir/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$work/cmake-build" > /dev/null
LD_LIBRARY_PATH="$libdir" "$work/cmake-build/consumer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++17 "$tests_dir/consumer/main.cpp" -o "$work/pc-consumer" \
  $(pkg-config --cflags --libs xmkclient)
LD_LIBRARY_PATH="$libdir" "$work/pc-consumer"

cmake -S "$source_dir/examples" -B "$work/example" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$work/example" > /dev/null
export LD_LIBRARY_PATH="$libdir" no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
"$work/example/xmk-example" "$url" > "$work/example.out" || fail "the example failed against $url"
grep -q '^inserted record [0-9]' "$work/example.out" || fail "example: $(cat "$work/example.out")"
if "$work/example/xmk-example" http://127.0.0.1:1/UniteInterface > "$work/example.out"; then
  fail "the example succeeded against a closed port"
fi
grep -q '^no exchange: connect' "$work/example.out" || fail "example: $(cat "$work/example.out")"

kill -TERM "$backend_pid"
wait "$backend_pid" || fail "xmk-backend did not stop cleanly"
backend_pid=
