#!/usr/bin/env bash
# vexo-lab as a process: prints its port, answers, stops cleanly on SIGTERM
# and SIGINT, and refuses a bad data file with a message.
set -euo pipefail
lab="$1"; data="$2"
for sig in TERM INT; do
  coproc LAB { exec "$lab" --port 0 --data "$data"; }
  pid=$LAB_PID
  read -r port <&"${LAB[0]}"
  [ "$port" -gt 0 ]
  answer=$(curl -s "http://127.0.0.1:$port/API/MyIP")
  [ "$answer" = $'127.0.0.1\r' ] || { echo "unexpected MyIP answer: $answer"; exit 1; }
  kill -s "$sig" "$pid"
  status=0; wait "$pid" || status=$?
  [ "$status" -eq 0 ] || { echo "exit status $status after SIG$sig"; exit 1; }
done
bad=$(mktemp); echo '{"accounts": [' > "$bad"
if "$lab" --port 0 --data "$bad" 2>"$bad.err"; then echo "bad data accepted"; exit 1; fi
grep -q 'bad lab data' "$bad.err"
rm -f "$bad" "$bad.err"
echo "lab process: ok"
