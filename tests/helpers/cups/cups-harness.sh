#!/usr/bin/env bash
# A private print server for tests: its own cupsd with configuration, spool, state, cache,
# logs and a Unix socket inside DIR, never a TCP port, and a cups-pdf queue "PDF" as its
# default printer that writes its PDF files into DIR/out.
#
#   cups-harness.sh start DIR [OWNER_PID]
#       Starts the server and prints two lines:
#           CUPS_SERVER=DIR/cups.sock
#           PDF_OUT=DIR/out
#       Point clients at it with CUPS_SERVER. With OWNER_PID the server is stopped by itself
#       once that process has ended (a test that crashes leaves nothing behind).
#   cups-harness.sh stop DIR
#       Stops the server and removes everything it put outside DIR. Safe to call twice.
#   cups-harness.sh add-queue DIR [NAME] [--not-default]
#       (re)creates a cups-pdf queue (default name PDF) and, unless told not to, makes it the default
#   cups-harness.sh remove-queue DIR [NAME] deletes the queue: the server has no default printer
# CUPS_HARNESS_NO_NAMESPACE=1 forces the per-queue file even where namespaces work.
#
# cups-pdf reads its settings from a fixed place (/etc/cups/cups-pdf.conf). The server runs
# in a mount namespace of its own in which DIR/cups-pdf.conf is mounted over that file, so
# the system's file is never changed. Where mount namespaces are not available (and the
# caller is root), a per-queue file /etc/cups/cups-pdf-QUEUE.conf with a unique name is
# written instead and removed by stop.
set -euo pipefail

export PATH="$PATH:/usr/sbin:/sbin"  # cupsd and lpadmin live there
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
templates="$here"
queue_default=PDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

die() { echo "cups-harness: $*" >&2; exit 1; }

absdir() { mkdir -p "$1" && (cd "$1" && pwd); }

fill() {  # fill TEMPLATE OUTPUT: replaces @DIR@ with the server's folder
  sed -e "s|@DIR@|$dir|g" "$1" >"$2"
}

server_up() {  # lpstat exits 0 even when the scheduler is down: read its text
  CUPS_SERVER="$dir/cups.sock" lpstat -r 2>/dev/null | grep -q 'is running'
}

queue_uri() {
  if [ -f "$dir/instance" ]; then echo "cups-pdf:/$(cat "$dir/instance")"; else echo "cups-pdf:/"; fi
}

add_queue() {
  local name=${1:-$queue_default} make_default=${2:-}
  # pdftocairo keeps the texts of a PDF readable on its way through PostScript back to PDF;
  # the other renderers turn them into unnamed glyphs.
  CUPS_SERVER="$dir/cups.sock" lpadmin -p "$name" -E -v "$(queue_uri)" -P "$ppd" \
    -o pdftops-renderer-default=pdftocairo 2>>"$dir/log/harness.log" \
    || die "could not create the queue $name (see $dir/log)"
  [ "$make_default" = --not-default ] && return 0
  CUPS_SERVER="$dir/cups.sock" lpadmin -d "$name" 2>>"$dir/log/harness.log" \
    || die "could not make $name the default printer"
}

remove_queue() {
  local name=${1:-$queue_default}
  CUPS_SERVER="$dir/cups.sock" lpadmin -x "$name" 2>>"$dir/log/harness.log" || true
}

start() {
  command -v cupsd >/dev/null || die "cupsd is not installed (package cups)"
  [ -x /usr/lib/cups/backend/cups-pdf ] || die "cups-pdf is not installed (package printer-driver-cups-pdf)"
  [ -f "$ppd" ] || die "$ppd is missing"
  if [ -f "$dir/cupsd.pid" ] && kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
    die "a server is already running in $dir"
  fi

  mkdir -p "$dir"/{conf/ppd,spool,cache,state,tmp,log,out,cups-pdf-spool}
  # Filters run as user lp: they must reach the spool and temp folders inside DIR, and
  # the backend writes the PDF files into out.
  chmod 0755 "$dir"
  chmod 0777 "$dir/out" "$dir/log"
  chmod 1777 "$dir/cups-pdf-spool" "$dir/tmp"
  rm -f "$dir/cups.sock" "$dir/cupsd.pid" "$dir/instance" "$dir/etc-conf"

  fill "$templates/cupsd.conf.in" "$dir/conf/cupsd.conf"
  fill "$templates/cups-files.conf.in" "$dir/conf/cups-files.conf"
  fill "$templates/cups-pdf.conf.in" "$dir/cups-pdf.conf"
  # PeerCred where this cupsd knows it (CUPS 2.4.2's security update does, 2.4.10 does not).
  echo "PeerCred on" >>"$dir/conf/cups-files.conf"
  cupsd -t -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >/dev/null 2>&1 \
    || sed -i '/^PeerCred /d' "$dir/conf/cups-files.conf"

  local cupsd_cmd=(cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf")
  if [ -z "${CUPS_HARNESS_NO_NAMESPACE:-}" ] && unshare -m true 2>/dev/null; then
    # The mount is private to the server's namespace; exec keeps one process id.
    setsid unshare -m --propagation private sh -c \
      'mount --bind "$1" /etc/cups/cups-pdf.conf && shift && exec "$@"' \
      sh "$dir/cups-pdf.conf" "${cupsd_cmd[@]}" \
      </dev/null >>"$dir/log/cupsd.out" 2>&1 &
  else
    [ "$(id -u)" -eq 0 ] || die "need root or mount namespaces to give cups-pdf its own settings"
    local instance
    instance="tallyforge-test-$$-$RANDOM"
    echo "$instance" >"$dir/instance"
    echo "/etc/cups/cups-pdf-$instance.conf" >"$dir/etc-conf"
    cp "$dir/cups-pdf.conf" "/etc/cups/cups-pdf-$instance.conf"
    setsid "${cupsd_cmd[@]}" </dev/null >>"$dir/log/cupsd.out" 2>&1 &
  fi
  echo $! >"$dir/cupsd.pid"

  local i
  for i in $(seq 1 100); do
    server_up && break
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || { cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null; cleanup_outside; die "cupsd ended at start"; }
    sleep 0.1
  done
  server_up || { stop_server; die "cupsd did not answer within 10 s"; }

  add_queue "$queue_default"

  if [ -n "${owner:-}" ]; then
    # Watcher: stops the server once the owner has gone.
    setsid bash -c 'while kill -0 "$1" 2>/dev/null && [ -f "$2/cupsd.pid" ]; do sleep 1; done; [ -f "$2/cupsd.pid" ] && "$3" stop "$2"' \
      watcher "$owner" "$dir" "$here/cups-harness.sh" </dev/null >/dev/null 2>&1 &
  fi

  echo "CUPS_SERVER=$dir/cups.sock"
  echo "PDF_OUT=$dir/out"
}

cleanup_outside() {
  if [ -f "$dir/etc-conf" ]; then
    rm -f "$(cat "$dir/etc-conf")"
    rm -f "$dir/etc-conf"
  fi
}

stop_server() {
  if [ -f "$dir/cupsd.pid" ]; then
    local pid i
    pid=$(cat "$dir/cupsd.pid")
    rm -f "$dir/cupsd.pid"
    if kill -0 "$pid" 2>/dev/null; then
      kill -CONT "$pid" 2>/dev/null || true  # a test may have paused it
      kill -TERM "$pid" 2>/dev/null || true
      for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$pid" 2>/dev/null || true
    fi
  fi
  cleanup_outside
  rm -f "$dir/cups.sock"
}

cmd=${1:-}
[ $# -ge 2 ] || die "usage: $0 start|stop|add-queue|remove-queue DIR [...]"
dir=$(absdir "$2")
case "$cmd" in
  start) owner=${3:-}; start ;;
  stop) stop_server ;;
  add-queue) add_queue "${3:-}" "${4:-}" ;;
  remove-queue) remove_queue "${3:-}" ;;
  *) die "unknown command $cmd" ;;
esac
