#!/bin/sh
# Stand-in upgrade program served by the platform simulator. It appends one JSON line
# with its arguments, user id and own path to its record file, and exits 0.
record="${GLIDER_UPGRADE_RECORD:-}"
[ -n "$record" ] || record=@RECORD@
quote() {
  printf '"%s"' "$(printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g')"
}
args=""
for arg in "$@"; do
  args="$args${args:+,}$(quote "$arg")"
done
printf '{"args":[%s],"uid":%s,"program":%s}\n' "$args" "$(id -u)" "$(quote "$0")" >> "$record"
exit 0
