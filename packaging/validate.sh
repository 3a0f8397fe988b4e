#!/bin/sh
# Checks the generated desktop files the way desktops and software centres read them:
#   validate.sh DESKTOP_FILE METAINFO_FILE MAN_PAGE
# Exits 77 (a skipped test) when a validator is not installed.
set -eu
for tool in desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
desktop-file-validate "$1"
appstreamcli validate --no-net --pedantic "$2"
# man prints its complaints about the page's markup on standard error.
problems=$(MANWIDTH=80 man --warnings -l "$3" 2>&1 >/dev/null)
if [ -n "$problems" ]; then
  echo "$problems"
  exit 1
fi
