#!/usr/bin/env bash
# Loads a protocol in headless Chromium, unticks "Показывать предупреждения",
# ticks it again, and prints what was visible at each step as one line:
#
#   warnings=W errors=E shown=A/B untick=C/D retick=F/G box=U,T
#
# W: warning elements (every element of class warn and every blue count line of a
# warning table); E: error elements (red messages, red count lines and the tables
# outside the warnings); A, C, F: warnings visible at load, after unticking, after
# ticking again; B, D, G: errors visible at the same moments; U, T: the box's state
# after unticking and after ticking. The protocol itself is not changed: the check
# runs on a copy with a small script appended.
#
#   scripts/check-warning-switch.sh PROTOCOL.html
#
# Exit code 127 when no browser is installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/chromium.sh"

[ $# -eq 1 ] || { echo "usage: $0 PROTOCOL.html" >&2; exit 2; }
[ -f "$1" ] || { echo "no such file: $1" >&2; exit 2; }
find_chromium >/dev/null || { echo "no Chromium found (install the Debian package chromium)" >&2; exit 127; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1" "$work/protocol.html"
# ASCII only: the protocol's bytes are windows-1251.
cat >> "$work/protocol.html" <<'SCRIPT'
<script>
(function () {
  function shown(list) {
    var n = 0;
    for (var i = 0; i < list.length; i++) if (list[i].getClientRects().length > 0) n++;
    return n;
  }
  var warnings = Array.prototype.slice.call(document.querySelectorAll('.warn, div[style="color: blue"]'));
  var errors = Array.prototype.slice.call(
    document.querySelectorAll('h3[style="color:red"], div[style="color: red"], table'))
    .filter(function (e) { return !e.closest('.warn'); });
  var box = document.querySelector('input[onclick]');
  var line = 'warnings=' + warnings.length + ' errors=' + errors.length +
    ' shown=' + shown(warnings) + '/' + shown(errors);
  if (box) {
    box.click();
    var unticked = box.checked;
    line += ' untick=' + shown(warnings) + '/' + shown(errors);
    box.click();
    line += ' retick=' + shown(warnings) + '/' + shown(errors) + ' box=' + unticked + ',' + box.checked;
  } else {
    line += ' nobox';
  }
  var out = document.createElement('pre');
  out.id = 'morvel-switch-check';
  out.textContent = line;
  document.body.appendChild(out);
})();
</script>
SCRIPT
dom=$(run_chromium --dump-dom "file://$work/protocol.html") || { echo "Chromium failed" >&2; exit 1; }
result=$(printf '%s\n' "$dom" | sed -n 's/.*<pre id="morvel-switch-check">\([^<]*\)<\/pre>.*/\1/p')
[ -n "$result" ] || { echo "the check script gave no result" >&2; exit 1; }
echo "$result"
