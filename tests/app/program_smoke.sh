#!/usr/bin/env bash
# The program as a user starts it: build/padocut on a file stays up and has
# loaded its output plug-in; `cmake --install` into a fresh prefix puts the
# program, the plug-in, the pictures, the help pages, the English catalog,
# the desktop entry, the icons and the completion in place, and the installed
# program and command line find their plug-in too.
#   program_smoke.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory SDL_AUDIODRIVER=dummy

# Starts PROGRAM FILE on a virtual display; fails unless it is still running
# after two seconds with PLUGIN mapped.
run_program() {
  local program=$1 file=$2 plugin=$3
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$1" "$2" & pid=$!
    sleep 2
    if ! kill -0 $pid 2>/dev/null; then echo "the program ended by itself"; exit 1; fi
    if ! grep -q "$3" /proc/$pid/maps; then echo "plug-in $3 not loaded"; kill $pid; exit 1; fi
    kill $pid; wait $pid 2>/dev/null || true' _ "$program" "$file" "$plugin"
}

cp "$build/sample.mp3" "$work/sample.mp3"
run_program "$build/padocut" "$work/sample.mp3" "$build/vuout_sdl.so"
echo "build/padocut: started, plug-in loaded"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/padocut bin/padocut-cli lib/padocut/vuout_sdl.so share/padocut/res/cut.bmp \
         share/padocut/res/padocut-32.png share/padocut/text/RECinfo.html \
         share/padocut/text/RECinfo.en.html share/locale/en/LC_MESSAGES/padocut.mo \
         share/applications/padocut.desktop share/icons/hicolor/48x48/apps/padocut.png \
         share/icons/hicolor/32x32/apps/padocut.png share/icons/hicolor/256x256/apps/padocut.png \
         share/bash-completion/completions/padocut-cli; do
  [[ -f "$prefix/$f" ]] || { echo "not installed: $f"; exit 1; }
done
grep -q '^Exec=padocut %f$' "$prefix/share/applications/padocut.desktop"
grep -q '^Icon=padocut$' "$prefix/share/applications/padocut.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/padocut.desktop"
fi
run_program "$prefix/bin/padocut" "$work/sample.mp3" "$prefix/lib/padocut/vuout_sdl.so"
echo "installed padocut: started, plug-in loaded"
"$prefix/bin/padocut-cli" play "$work/sample.mp3" 0 200 >/dev/null
echo "installed padocut-cli: played through the installed plug-in"
