#!/usr/bin/env bash
# scripts/setup.sh against a fake package system: every package counts as
# installed except those in $fake/missing; the fake apt-get installs what it
# is asked for and can take another package away, as a real install may.
set -u
setup="$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh"
fake="$(mktemp -d "${TMPDIR:-/tmp}/setup-test.XXXXXX")"
trap 'rm -rf "$fake"' EXIT
mkdir "$fake/bin"

cat >"$fake/bin/dpkg-query" <<'SH'
#!/usr/bin/env bash
p="${!#}"
grep -qx "$p" "$FAKE/missing" && exit 1
echo "install ok installed"
SH
cat >"$fake/bin/apt-get" <<'SH'
#!/usr/bin/env bash
[ "$1" = install ] || exit 0
for a in "$@"; do
  case "$a" in -*|install) ;; *) echo "$a" >>"$FAKE/asked"; sed -i "/^$a\$/d" "$FAKE/missing" ;; esac
done
[ -n "${FAKE_APT_REMOVES:-}" ] && echo "$FAKE_APT_REMOVES" >>"$FAKE/missing"
exit 0
SH
printf '#!/bin/sh\necho i386\n' >"$fake/bin/dpkg"
printf '#!/bin/sh\necho zh_CN.utf8\n' >"$fake/bin/locale"
printf '#!/bin/sh\nexec "$@"\n' >"$fake/bin/sudo"
chmod +x "$fake/bin/"*

failures=0
# name | packages missing before | package the install removes | exit status | asked for | in stderr
while IFS='|' read -r name missing removes status asked message; do
  : >"$fake/asked"
  tr ' ' '\n' <<<"$missing" | sed '/^$/d' >"$fake/missing"
  FAKE="$fake" FAKE_APT_REMOVES="$removes" PATH="$fake/bin:$PATH" bash "$setup" >"$fake/out" 2>"$fake/err"
  got=$?
  problem=""
  [ "$got" = "$status" ] || problem="exit status $got, expected $status"
  for p in $asked; do grep -qx "$p" "$fake/asked" || problem="$problem; $p not asked for"; done
  [ -z "$asked" ] && [ -s "$fake/asked" ] && problem="$problem; installed $(tr '\n' ' ' <"$fake/asked")"
  [ -n "$message" ] && ! grep -q "$message" "$fake/err" && problem="$problem; stderr lacks '$message'"
  if [ -n "$problem" ]; then
    echo "FAIL $name: $problem"; cat "$fake/err"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
done <<'CASES'
all there, nothing installed|||0||
the missing ones are installed|libboost1.81-dev python3-munkres||0|libboost1.81-dev python3-munkres|
an install that removes a listed package fails|libboost1.81-dev|python3-fonttools|1|libboost1.81-dev|not installed after the install: python3-fonttools
CASES
[ "$failures" = 0 ] && echo "setup_test: all cases passed"
exit "$failures"
