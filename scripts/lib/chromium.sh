# Shared by the scripts that open a protocol in headless Chromium (Debian's
# package "chromium"). Sourced, not run.

# The browser: $MORVEL_CHROMIUM when set, else the first one on the PATH.
find_chromium() {
  if [ -n "${MORVEL_CHROMIUM:-}" ]; then
    command -v "$MORVEL_CHROMIUM" 2>/dev/null || return 1
    return 0
  fi
  local name
  for name in chromium chromium-browser google-chrome; do
    if command -v "$name" >/dev/null 2>&1; then
      command -v "$name"
      return 0
    fi
  done
  return 1
}

# Runs the browser headless with a profile of its own that goes with the call,
# so that parallel calls never share one. Output of the browser's own chatter
# (D-Bus, GPU) goes to standard error's bit bucket.
run_chromium() {
  local browser profile status
  browser=$(find_chromium) || { echo "no Chromium found (install the Debian package chromium)" >&2; return 127; }
  profile=$(mktemp -d)
  status=0
  "$browser" --headless --no-sandbox --disable-gpu --no-first-run --no-default-browser-check \
    --disable-extensions --hide-scrollbars --user-data-dir="$profile" "$@" 2>/dev/null || status=$?
  rm -rf "$profile"
  return $status
}
