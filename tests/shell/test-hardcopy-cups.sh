#!/usr/bin/env bash
# The hardcopy through a real print queue: a private print daemon on its own
# socket, a PDF queue as its default printer; a landscape and a portrait window
# are printed and the PDFs checked. Needs root (the PDF backend runs as root).
set -uo pipefail

tool=${1:?usage: test-hardcopy-cups.sh PATH/TO/hardcopy_print_tool}
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the print-queue test starts its own print daemon and needs root"
  exit 77
fi
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
for need in cupsd lpadmin lpstat pdfinfo pdfimages pdftoppm /usr/lib/cups/backend/cups-pdf "$ppd"; do
  command -v "$need" >/dev/null || [ -e "$need" ] || {
    echo "FAIL: $need is missing; run scripts/install-deps.sh"
    exit 1
  }
done

work=$(mktemp -d /tmp/zor-hardcopy.XXXXXX)
chmod 755 "$work" # the filters run as user lp
mkdir -p "$work"/{etc,spool/tmp,cache,state,log,pdf,pdfspool,home,runtime}
chmod 1777 "$work/spool/tmp"
chmod 700 "$work/runtime"
queue="zorhardcopy$$"
# The PDF backend reads its settings only from /etc/cups, from a file named
# after the queue; remove those of runs killed outright.
queueConf="/etc/cups/cups-pdf-$queue.conf"
for stale in /etc/cups/cups-pdf-zorhardcopy*.conf; do
  pid=${stale//[^0-9]/}
  [ -e "$stale" ] && ! kill -0 "$pid" 2>/dev/null && rm -f "$stale"
done
cupsdPid=""
failures=0

cleanup() {
  local rc=$?
  if [ -n "$cupsdPid" ]; then
    kill "$cupsdPid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$cupsdPid" 2>/dev/null && sleep 0.1; done
    kill -9 "$cupsdPid" 2>/dev/null
    wait "$cupsdPid" 2>/dev/null
  fi
  rm -f "$queueConf"
  [ "$rc" -ne 0 ] && tail -n 30 "$work/log/error_log" 2>/dev/null
  rm -rf "$work"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cat >"$work/etc/cupsd.conf" <<CONF
Listen $work/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
IdleExitTimeout 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$work/etc/cups-files.conf" <<CONF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
Sandboxing Relaxed
CONF
# Lossless images and no turning by the converter: the PDF shows what was sent.
cat >"$queueConf" <<CONF
Out $work/pdf
AnonDirName $work/pdf
Spool $work/pdfspool
Log $work/log
Grp root
Label 2
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="%s" -dAutoRotatePages=/None -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dAutoFilterGrayImages=false -dGrayImageFilter=/FlateEncode -dDownsampleGrayImages=false -dDownsampleColorImages=false -dPDFSETTINGS=/prepress -c -f %s
CONF

# Every client, the program included, talks to our daemon only.
export CUPS_SERVER="$work/cups.sock" CUPS_SERVERROOT="$work/etc" HOME="$work/home"
export XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
unset LPDEST PRINTER

# timeout: the daemon ends by itself even if this script is killed outright.
timeout 280 cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" &
cupsdPid=$!
for _ in $(seq 100); do lpstat -r >/dev/null 2>&1 && break || sleep 0.1; done
lpstat -r >/dev/null 2>&1 || { echo "FAIL: the private print daemon did not start"; exit 1; }
# The scheduler answers lpstat a moment before it takes new queues: retry.
added=""
for _ in $(seq 50); do
  if lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" 2>"$work/lpadmin.err" &&
    lpadmin -d "$queue" 2>>"$work/lpadmin.err"; then
    added=1 && break
  fi
  sleep 0.1
done
[ -n "$added" ] || {
  echo "FAIL: cannot add the PDF queue as the default printer: $(cat "$work/lpadmin.err")"
  exit 1
}

"$tool" no-window || fail "nothing captured"
cupsreject "$queue" && "$tool" refused || fail "a refused job"
cupsaccept "$queue"
[ -z "$(lpstat -o "$queue")" ] || fail "a job was queued by a failed command"

# printAndCheck SHAPE WIDTH HEIGHT: prints, waits for the PDF, checks it.
printAndCheck() {
  local shape=$1 size="$2 x $3" pdf=""
  "$tool" print "$shape" || { fail "printing the $shape window"; return; }
  for _ in $(seq 600); do
    [ -z "$(lpstat -o "$queue")" ] && pdf=$(find "$work/pdf" -name '*.pdf') && [ -n "$pdf" ] && break
    sleep 0.1
  done
  [ -n "$pdf" ] || { fail "$shape: no PDF within 60 s"; return; }
  mv "$pdf" "$work/$shape.pdf"
  local info images
  info=$(pdfinfo "$work/$shape.pdf")
  grep -Eq '^Pages: +1$' <<<"$info" || fail "$shape: not one page"
  # The title comes back through PostScript, maybe with its brackets.
  grep -Eq '^Title: +\(?Hardcopy\)?$' <<<"$info" || fail "$shape: title $(grep '^Title' <<<"$info")"
  images=$(pdfimages -list "$work/$shape.pdf" | tail -n +3)
  read -r _ _ _ w h color _ _ enc _ <<<"$images"
  [ "$(wc -l <<<"$images") $w x $h $color" = "1 $size gray" ] ||
    fail "$shape: expected one $size grey image: $images"
  case "$enc" in jpeg | jpx | dct | jbig2) fail "$shape: lossy image ($enc)" ;; esac
  pdftoppm -gray -r 72 -singlefile "$work/$shape.pdf" "$work/$shape" &&
    "$tool" check "$shape" "$work/$shape.pgm" || fail "$shape: the printed page"
}
printAndCheck landscape 420 560 # turned a quarter: as wide as the window is high
printAndCheck portrait 400 640

# The film report on the default printer: one page with its text.
"$tool" report || fail "printing the film report"
report=""
for _ in $(seq 600); do
  [ -z "$(lpstat -o "$queue")" ] && report=$(find "$work/pdf" -name '*.pdf') && [ -n "$report" ] && break
  sleep 0.1
done
if [ -z "$report" ]; then
  fail "film report: no PDF within 60 s"
else
  info=$(pdfinfo "$report")
  grep -Eq '^Pages: +1$' <<<"$info" || fail "film report: not one page"
  grep -Eq '^Title: +\(?Film report\)?$' <<<"$info" || fail "film report: title $(grep '^Title' <<<"$info")"
  # Text survives the queue's PostScript as glyphs; the page must carry ink.
  pdftoppm -gray -r 36 -singlefile "$report" "$work/report" &&
    [ "$(od -An -tu1 -v "$work/report.pgm" | tr -s ' ' '\n' | grep -c '^[0-9]\{1,2\}$')" -gt 100 ] ||
    fail "film report: an empty page"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "hardcopy through the print queue: all checks passed"
