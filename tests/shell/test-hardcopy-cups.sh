#!/usr/bin/env bash
# The hardcopy through a real print queue: a private print daemon on its own
# socket in a temporary folder, a PDF queue as its default printer, the
# program prints a landscape and a portrait window, and the PDFs are checked.
# The daemon is stopped on every way out. Needs root (the PDF backend runs
# as root); skipped otherwise.
set -uo pipefail

tool=${1:?usage: test-hardcopy-cups.sh PATH/TO/hardcopy_print_tool}
skip=77

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the print-queue test starts its own print daemon and needs root"
  exit $skip
fi
for cmd in cupsd lpadmin lpstat gs pdfinfo pdfimages pdftoppm; do
  if ! command -v "$cmd" >/dev/null; then
    echo "FAIL: $cmd is missing; run scripts/install-deps.sh"
    exit 1
  fi
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if [ ! -x /usr/lib/cups/backend/cups-pdf ] || [ ! -f "$ppd" ]; then
  echo "FAIL: the PDF printer driver is missing; run scripts/install-deps.sh"
  exit 1
fi

work=$(mktemp -d /tmp/zor-hardcopy.XXXXXX)
# The filters run as user lp and must reach the spool below.
chmod 755 "$work"
mkdir -p "$work"/{etc,spool/tmp,cache,state,log,pdf,pdfspool,home,runtime}
chmod 700 "$work/runtime"
chmod 1777 "$work/spool/tmp"
queue="zorhardcopy$$"
# The PDF backend reads its settings only from /etc/cups; a file named after
# our own queue touches no other queue.
queueConf="/etc/cups/cups-pdf-$queue.conf"
# Settings left by a run that was killed outright.
for stale in /etc/cups/cups-pdf-zorhardcopy*.conf; do
  [ -e "$stale" ] || continue
  pid=${stale#/etc/cups/cups-pdf-zorhardcopy}
  pid=${pid%.conf}
  kill -0 "$pid" 2>/dev/null || rm -f "$stale"
done
cupsdPid=""
failures=0

cleanup() {
  local rc=$?
  if [ -n "$cupsdPid" ]; then
    kill "$cupsdPid" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "$cupsdPid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$cupsdPid" 2>/dev/null
    wait "$cupsdPid" 2>/dev/null
  fi
  rm -f "$queueConf"
  # HARDCOPY_KEEP=DIR keeps the PDFs and rendered pages for a look.
  if [ -n "${HARDCOPY_KEEP:-}" ]; then
    mkdir -p "$HARDCOPY_KEEP" && cp "$work"/*.pdf "$work"/*.pgm "$work"/log/page_log "$HARDCOPY_KEEP" 2>/dev/null
  fi
  if [ "$rc" -ne 0 ] && [ "$rc" -ne $skip ]; then
    echo "--- print daemon log (last lines) ---"
    tail -n 40 "$work/log/error_log" 2>/dev/null
    tail -n 20 "$work/log/cups-pdf-${queue}_log" 2>/dev/null
  fi
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
LogLevel debug
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
# Lossless images all the way, no turning of pages by the converter: the
# test must see what the program sent.
cat >"$queueConf" <<CONF
Out $work/pdf
AnonDirName $work/pdf
Spool $work/pdfspool
Log $work/log
LogType 7
Grp root
Label 2
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="%s" -dAutoRotatePages=/None -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dAutoFilterGrayImages=false -dGrayImageFilter=/FlateEncode -dDownsampleGrayImages=false -dDownsampleColorImages=false -dPDFSETTINGS=/prepress -c -f %s
CONF

# Every client below, the program included, talks to our daemon only, and no
# one's personal or system default printer leaks in.
export CUPS_SERVER="$work/cups.sock"
export CUPS_SERVERROOT="$work/etc"
export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/home/.config"
unset LPDEST PRINTER
export QT_QPA_PLATFORM=offscreen

# The daemon ends by itself after a while even if this script is killed
# outright (no trap runs then).
timeout 280 cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" \
  >"$work/log/cupsd.out" 2>&1 &
cupsdPid=$!
for _ in $(seq 100); do
  lpstat -r >/dev/null 2>&1 && break
  kill -0 "$cupsdPid" 2>/dev/null || break
  sleep 0.1
done
if ! lpstat -r >/dev/null 2>&1; then
  echo "FAIL: the private print daemon did not start"
  cat "$work/log/cupsd.out"
  exit 1
fi

echo "== no printer: the command returns at once and keeps the clipboard"
"$tool" no-printer || fail "the command without a printer"

lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P "$ppd" 2>/dev/null || {
  echo "FAIL: cannot add the PDF queue"
  exit 1
}
lpadmin -d "$queue" || {
  echo "FAIL: cannot make the PDF queue the default printer"
  exit 1
}
seen=$("$tool" printer-name)
[ "$seen" = "$queue" ] || fail "the program sees the default printer \"$seen\", not \"$queue\""

echo "== nothing captured: no job"
"$tool" no-window || fail "the command without a window"
# (a job here would also shift the job numbers checked below)
[ -z "$(lpstat -o "$queue" 2>/dev/null)" ] || fail "a job was queued without a capture"

echo "== the queue refuses jobs: reported"
cupsreject "$queue" && "$tool" refused || fail "a refused job"
cupsaccept "$queue" || fail "cannot make the queue accept jobs again"

# Prints one window and waits until its PDF is complete; moves it to $2.
printWindow() {
  local shape=$1 target=$2
  shift 2
  "$tool" print "$shape" "$@" || {
    fail "printing the $shape window"
    return 1
  }
  for _ in $(seq 600); do
    if [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then
      local pdf
      pdf=$(find "$work/pdf" -maxdepth 1 -name '*.pdf' | head -n 1)
      if [ -n "$pdf" ]; then
        mv "$pdf" "$target"
        return 0
      fi
    fi
    sleep 0.1
  done
  fail "no PDF of the $shape window within 60 s"
  return 1
}

checkPdf() {
  local shape=$1 pdf=$2 width=$3 height=$4 job=$5
  local before=$failures
  # What the spooler was told: the document name and one page.
  local logged
  logged=$(awk -v job="$job" '$3 == job' "$work/log/page_log")
  read -r _ _ _ _ _ _ pages _ _ name _ <<<"$logged"
  [ "$name" = Hardcopy ] || fail "$shape: job $job is not named \"Hardcopy\": $logged"
  [ "$pages" = 1 ] || fail "$shape: job $job has not one page: $logged"
  local info
  info=$(pdfinfo "$pdf") || {
    fail "$shape: pdfinfo cannot read the PDF"
    return
  }
  grep -Eq '^Pages: +1$' <<<"$info" || fail "$shape: not one page: $(grep '^Pages' <<<"$info")"
  # The queue turns the job into PostScript and back, and the converter
  # keeps the title's PostScript string brackets: "(Hardcopy)".
  grep -Eq '^Title: +\(?Hardcopy\)?$' <<<"$info" ||
    fail "$shape: document title is not \"Hardcopy\": $(grep '^Title' <<<"$info")"
  # One grey image of the (turned) window's size, losslessly compressed.
  local images
  images=$(pdfimages -list "$pdf" | tail -n +3)
  [ "$(wc -l <<<"$images")" -eq 1 ] || fail "$shape: not exactly one image: $images"
  read -r _ _ _ w h color _ _ enc _ <<<"$images"
  [ "$w x $h" = "$width x $height" ] || fail "$shape: image is $w x $h, expected $width x $height"
  [ "$color" = gray ] || fail "$shape: image is $color, not gray"
  case "$enc" in
  jpeg | jpx | dct | jbig2) fail "$shape: image compressed lossily ($enc)" ;;
  esac
  pdftoppm -gray -r 72 -singlefile "$pdf" "$work/$shape" || {
    fail "$shape: cannot render the PDF"
    return
  }
  "$tool" check "$shape" "$work/$shape.pgm" "${@:6}" || fail "$shape: the printed page"
  [ "$failures" -eq "$before" ] &&
    echo "ok: $shape: job \"Hardcopy\", one page, one lossless grey image of $width x $height"
}

echo "== landscape window"
if printWindow landscape "$work/landscape.pdf"; then
  # Turned a quarter: the image is as wide as the window is high.
  checkPdf landscape "$work/landscape.pdf" 420 560 1
fi
echo "== portrait window"
if printWindow portrait "$work/portrait.pdf"; then
  checkPdf portrait "$work/portrait.pdf" 400 640 2
fi

echo "== the main window's \"&hardcopy\""
if printWindow mainform "$work/mainform.pdf" "$work/mainform.geometry"; then
  read -r width height _ <"$work/mainform.geometry"
  # The main window is wider than high: turned like the landscape window.
  checkPdf mainform "$work/mainform.pdf" "$height" "$width" 3 "$work/mainform.geometry"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "hardcopy through the print queue: all checks passed"
exit 0
