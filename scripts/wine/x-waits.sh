# Waits shared by the scripts that drive the real program under X.
# Source it; each function polls and returns non-zero when time runs out.

# window_named NAME: prints the id of the first window whose title contains
# NAME, waiting up to 20 seconds for it to appear.
window_named() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { printf '%s\n' "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# input_method_registered [SERVER]: whether an input method server (SERVER,
# or any) is registered on the display.
input_method_registered() {
  xprop -root XIM_SERVERS 2>/dev/null | grep -q "@server=${1:-}"
}

# wait_for_input_method SERVER: waits up to 5 seconds for SERVER to register.
wait_for_input_method() {
  for _ in $(seq 50); do
    input_method_registered "$1" && return 0
    sleep 0.1
  done
  return 1
}
