#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators
# (desktop-file-validate, appstreamcli validate), the entry opens audio/mpeg
# files with %f, and the metadata launches that entry. Exit 77 (skipped,
# with a note) when neither validator is installed.
#   desktop_check.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
entry=$1/packaging/desktop/padocut.desktop
metainfo=$(ls "$2"/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
status=0
ran=0

grep -qx 'Exec=padocut %f' "$entry" || { echo "padocut.desktop: Exec is not 'padocut %f'"; status=1; }
grep -q '^MimeType=\(.*;\)\?audio/mpeg;' "$entry" || { echo "padocut.desktop: no audio/mpeg"; status=1; }
[[ -n "$metainfo" ]] || { echo "no metainfo in $2/metainfo"; exit 1; }
grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$metainfo" ||
  { echo "$metainfo does not launch $(basename "$entry")"; status=1; }

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || status=1
  ran=1
else
  echo "note: desktop-file-validate (desktop-file-utils) is not installed"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$metainfo" >"$2/metainfo/validate.log" 2>&1 ||
    { cat "$2/metainfo/validate.log"; status=1; }
  ran=1
else
  echo "note: appstreamcli (appstream) is not installed"
fi
((status == 0 && ran == 0)) && exit 77
exit $status
