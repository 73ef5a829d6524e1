#!/usr/bin/env bash
# Runs one end-to-end script against the real binaries: a private X server (Xvfb), a private
# D-Bus session with the accessibility bus, a fresh home directory. Every wait is bounded and
# nothing is left running afterwards.
#   run_e2e.sh BUILD_DIR SCRIPT.py [ARGS...]
set -euo pipefail
build_dir=$(cd "$1" && pwd)
script=$2
shift 2

work=$(mktemp -d /tmp/tensilo-e2e.XXXXXX)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the pipe.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
if ! read -r -t 20 -u "$display_fd" display || [ -z "$display" ]; then
    echo "e2e: Xvfb did not start within 20 s" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
exec {display_fd}>&-

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export DISPLAY=":$display"
export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/home/.config"
export XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE=en
export TZ=UTC
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_ACCESSIBILITY=1
export NO_AT_BRIDGE=0
export TENSILO_E2E_WORK="$work"
export TENSILO_BINARY="$build_dir/tensilo"
export TENSILO_TOOL="$build_dir/tensilo-tool"
# The sanitizer build's leak checker has nothing to say about a program ended from outside, and
# strict string checks trip over libxkbcommon-x11's own strndup of a keymap name (not ours).
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0:strict_string_checks=0"

# dbus-run-session ends the bus (and the accessibility services it started) when the script
# returns; timeout ends the whole session should anything hang.
timeout --kill-after=10 300 dbus-run-session -- /usr/bin/python3 "$script" "$@" 2> >(grep -v -E 'dbus-daemon|fd limit|SpiRegistry|X connection to .* broken' >&2)
