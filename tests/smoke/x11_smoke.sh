#!/usr/bin/env bash
# The real letterwell on a real X server (run under xvfb-run) with a window
# manager, in a throw-away home: what the offscreen platform cannot show,
# since X11 applies window states later than the program asks for them.
#
#   x11_smoke.sh BIN_FOLDER
#
# Run 0 starts as a new user with an English locale would: the program
# must speak English (the sheet, the About box, the notes), then Options >
# Language > SRPSKI switches it to Serbian, which is kept for the runs after.
# Run 1 clicks the size box and types a size, moves the sheet and maximizes
# both windows, then quits through the File menu. Run 2 must open both
# windows again, maximized, over the normal bounds run 1 had; leaving run 2
# maximized must store the same bounds again (no creeping by a title bar).
# Run 2 also picks a folder on the not-installed page, chooses a file,
# installs it for the session (other programs see it) and removes it again,
# disables and enables the family shown on the installed page (fc-list must
# follow), then makes a category in the organize window, and on the sheet puts two
# families into a new category, shows it and prints it, through the print
# settings and printer set-up dialogs, into a PDF, and opens the folder
# sheet and the mixed sheet on a folder of up to 300 real fonts, changes the
# sample's size and colour in the options dialog, opens the notes and the
# About box; run 3 must find the options kept. The program runs from a copy
# in a folder of its own, where it keeps its categories.
set -euo pipefail

bin=${1:?usage: x11_smoke.sh BIN_FOLDER}
root=$(mktemp -d "${TMPDIR:-/tmp}/letterwell-smoke-XXXXXX")
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$root"' EXIT

export HOME=$root/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$root/runtime XDG_DATA_DIRS=$root/none XDG_CONFIG_DIRS=$root/none
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cat > "$root/fonts.conf" <<EOF
<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <dir>$XDG_DATA_HOME/fonts</dir>
  <cachedir>$XDG_CACHE_HOME/fontconfig</cachedir>
  <include ignore_missing="yes" prefix="xdg">fontconfig/conf.d</include>
</fontconfig>
EOF
export FONTCONFIG_FILE=$root/fonts.conf
# flatpak, where installed, keeps its overrides in this home too.
export FLATPAK_SYSTEM_DIR=$root/flatpak-system
mkdir -p "$root/program"
cp "$bin/letterwell" "$bin/lw_esp.lwb" "$bin/lw_eng.lwb" "$bin/Procitaj.txt" "$bin/ReadMe.txt" "$root/program/"
bin=$root/program
settings=$XDG_CONFIG_HOME/Kestrova/Letterwell.reg
main_title='Kestrova Letterwell'
sheet_title='INSTALIRANI FONTOVI'

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to 60 s for a command to succeed: the run shares two cores with
# the whole test suite, and a first start beside it once had not shown its
# window after 20 s.
wait_for() {
  for _ in $(seq 600); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  cat "$root/openbox.log" "$root"/letterwell-*.log >&2 2>/dev/null
  fail "timed out waiting for: $*"
}

window_id() { wmctrl -l | awk -v t="$1" 'index($0, t) { print $1; exit }'; }
has_window() { [ -n "$(window_id "$1")" ]; }
no_window() { ! has_window "$1"; }
is_maximized() { xprop -id "$(window_id "$1")" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT; }
not_maximized() { ! is_maximized "$1"; }
stored() { grep -a "^\"$1\"=" "$settings" | sed 's/.*=dword://'; }
stored_number() { printf '%d' "0x$(stored "$1")"; }
# A window's client area as x,y,width,height on the screen.
client_geometry() {
  xwininfo -id "$(window_id "$1")" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /^  Width/ {w=$NF} /^  Height/ {h=$NF} END {print x "," y "," w "," h}'
}
# A picture of part of a window's client area, for comparing.
snapshot() { import -window "$(window_id "$1")" -crop "$2" +repage "$3"; }

start_letterwell() {
  "$bin/letterwell" >"$root/letterwell-$1.log" 2>&1 &
  letterwell_pid=$!
  wait_for has_window "$main_title"
  wait_for has_window "$sheet_title"
  sleep 1 # let both windows finish their first layout
}

quit_through_file_menu() {
  main_menu f i
  for _ in $(seq 100); do
    kill -0 "$letterwell_pid" 2>/dev/null || break
    sleep 0.1
  done
  ! kill -0 "$letterwell_pid" 2>/dev/null || fail "File > Exit did not end the program"
  wait "$letterwell_pid" || fail "letterwell exited with an error: $(cat "$root"/letterwell-*.log)"
}

# Alt+LETTER on the main window's menu bar, then the item's letter.
main_menu() {
  xdotool windowactivate --sync "$(window_id "$main_title")"
  xdotool key --clearmodifiers "alt+$1"
  sleep 0.3
  xdotool key "$2"
}

# Esc to the window with the focus, which must close.
escape_from() {
  xdotool key Escape
  wait_for no_window "$1"
}

maximize() {
  wmctrl -i -r "$(window_id "$1")" -b add,maximized_vert,maximized_horz
  wait_for is_maximized "$1"
}

XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/local/share:/usr/share openbox --sm-disable >"$root/openbox.log" 2>&1 &
wait_for wmctrl -m

# --- Run 0 -----------------------------------------------------------------
unset LC_ALL LC_MESSAGES
export LANG=en_US.UTF-8
english_sheet='INSTALLED FONTS'
"$bin/letterwell" >"$root/letterwell-0.log" 2>&1 &
letterwell_pid=$!
wait_for has_window "$main_title"
wait_for has_window "$english_sheet"
sleep 1
main_menu h a
wait_for has_window 'About'
escape_from 'About'
xdotool windowactivate --sync "$(window_id "$main_title")"
xdotool key F1
wait_for has_window 'Read Me'
xdotool windowactivate --sync "$(window_id 'Read Me')"
escape_from 'Read Me'
main_menu o l
sleep 0.3
xdotool key s
wait_for has_window "$sheet_title"
has_window "$english_sheet" && fail "the sheet kept its English caption after the switch"
quit_through_file_menu
[ "$(stored_number Language)" -eq 0 ] || fail "the language chosen in the menu was not stored: $(stored Language)"
echo "run 0: English at first start, Serbian after the menu"

# --- Run 1 -----------------------------------------------------------------
start_letterwell 1
main=$(window_id "$main_title")
xdotool windowactivate --sync "$main"
# The sample, right of the family list and below the size box.
snapshot "$main_title" 400x200+190+110 "$root/sample-before.png"
# The size box is the first control of the tool row above the sample.
xdotool mousemove --window "$main" 245 72 click 1
sleep 0.2
xdotool key ctrl+a BackSpace
xdotool type --delay 50 'ab c-1.5x'
xdotool type --delay 50 '72'
xdotool key Return
sleep 0.5
snapshot "$main_title" 400x200+190+110 "$root/sample-after.png"
changed=$(compare -metric AE "$root/sample-before.png" "$root/sample-after.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 500 ] || fail "the typed size did not change the sample ($changed pixels)"

# The sheet opens maximized; put it somewhere of its own, then maximize it again.
sheet=$(window_id "$sheet_title")
wmctrl -i -r "$sheet" -b remove,maximized_vert,maximized_horz
wait_for not_maximized "$sheet_title"
wmctrl -i -r "$sheet" -e 0,120,140,700,500
sleep 0.5
maximize "$sheet_title"
normal_main=$(client_geometry "$main_title")
maximize "$main_title"
quit_through_file_menu

[ "$(stored_number Maximized)" -eq 1 ] || fail "Maximized was not stored"
[ "$(stored_number 'Window width')" -eq "$(echo "$normal_main" | cut -d, -f3)" ] ||
  fail "stored width $(stored_number 'Window width') is not the normal width of $normal_main"
[ "$(stored_number 'Window height')" -eq "$(echo "$normal_main" | cut -d, -f4)" ] ||
  fail "stored height $(stored_number 'Window height') is not the normal height of $normal_main"
[ "$(stored_number 'Show font list window')" -eq 1 ] || fail "the sheet was forgotten at exit"
[ "$(stored_number 'Font list maximized')" -eq 1 ] || fail "the sheet's maximized state was lost"
[ "$(stored_number 'Font list width')" -eq 700 ] || fail "sheet width $(stored_number 'Font list width')"
first_left=$(stored_number 'Window left'); first_top=$(stored_number 'Window top')
echo "run 1: normal client area $normal_main, stored frame position $first_left,$first_top"
first_list_left=$(stored_number 'Font list left'); first_list_top=$(stored_number 'Font list top')

# --- Run 2 -----------------------------------------------------------------
start_letterwell 2
wait_for is_maximized "$main_title"
wait_for is_maximized "$sheet_title"
wmctrl -i -r "$(window_id "$main_title")" -b remove,maximized_vert,maximized_horz
wait_for not_maximized "$main_title"
sleep 0.5
[ "$(client_geometry "$main_title")" = "$normal_main" ] ||
  fail "run 2 restores to $(client_geometry "$main_title"), run 1 had $normal_main"
# The not-installed page, by keyboard as a person would: the next page, the
# documents root in the tree, its fonts folder, the list, its first file.
mkdir -p "$HOME/Documents/fonts"
cp /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf "$HOME/Documents/fonts/SmokeSerif.ttf"
temporary_fonts() { fc-list --format '%{file}\n' | grep -c 'Letterwell temporary' || true; }
some_temporary_fonts() { [ "$(temporary_fonts)" -gt 0 ]; }
no_temporary_fonts() { [ "$(temporary_fonts)" -eq 0 ]; }
xdotool windowactivate --sync "$(window_id "$main_title")"
xdotool key ctrl+Tab
sleep 0.5
xdotool key Home Down Right Right
sleep 0.5
xdotool key Tab Down
sleep 0.5
[ "$(temporary_fonts)" -eq 0 ] || fail "a temporary font before any was installed"
main_menu n p
sleep 0.5
xdotool key Return # "Da li zelis da instaliras font ...?" Yes
wait_for some_temporary_fonts
main_menu n u
sleep 0.5
xdotool key Return # remove the temporary fonts? Yes
wait_for no_temporary_fonts
[ -f "$HOME/Documents/fonts/SmokeSerif.ttf" ] || fail "the font file itself is gone"
# Details of the file still selected (Alt+Enter): a window of its own, which
# Esc closes.
details_title='SmokeSerif.ttf - Detalji'
xdotool windowactivate --sync "$(window_id "$main_title")"
xdotool key --clearmodifiers alt+Return
wait_for has_window "$details_title"
xdotool windowactivate --sync "$(window_id "$details_title")"
sleep 0.5
escape_from "$details_title"

# Back on the installed page, File > Disable font (Ctrl+Shift+D) on the family
# shown: fontconfig stops serving it; Enable font (Ctrl+Shift+E) brings it back.
families() { fc-list --format '%{family[0]}\n' | sort -u | wc -l; }
all_families=$(families)
fewer_families() { [ "$(families)" -lt "$all_families" ]; }
all_families_back() { [ "$(families)" -eq "$all_families" ]; }
xdotool key ctrl+Tab
sleep 0.5
xdotool key ctrl+shift+d
wait_for fewer_families
[ -f "$XDG_CONFIG_HOME/fontconfig/conf.d/49-letterwell-disabled.conf" ] || fail "no rule file"
if command -v flatpak >/dev/null; then
  # Flatpak applications cannot read the folder yet: Yes lets them.
  wait_for has_window 'Potvrda'
  xdotool key Return
  wait_for grep -q 'xdg-config/fontconfig:ro' "$XDG_DATA_HOME/flatpak/overrides/global"
fi
sleep 0.5
xdotool key ctrl+shift+e
wait_for all_families_back
xdotool key ctrl+Tab # back to the not-installed page the steps below expect
sleep 0.5

# Options > Organize categories: the first family into a new category.
main_menu c o
wait_for has_window 'Organizuj kategorije'
organize=$(window_id 'Organizuj kategorije')
xdotool key Tab Tab Tab Tab Down
sleep 0.3
xdotool mousemove --window "$organize" 233 124 click 1 # the arrow into the category
sleep 0.3
xdotool key --clearmodifiers alt+o
wait_for has_window 'Nova kategorija'
xdotool key ctrl+a
xdotool type --delay 50 'Smoke'
xdotool key Return
wait_for test -f "$bin/Categories/Smoke.lst"
grep -q $'^DejaVu[^\r]*\r$' "$bin/Categories/Smoke.lst" ||
  fail "the category holds $(od -c "$bin/Categories/Smoke.lst" | head -3)"
escape_from 'Organizuj kategorije'

# The sheet: its first two families into a new category through the add
# dialog's new-category entry, then that category shown from the Categories
# submenu and all of it printed: through the print settings and printer
# set-up dialogs; with no printer here the list goes to a PDF in the
# documents folder and the user is told so.
xdotool windowactivate --sync "$(window_id "$sheet_title")"
xdotool key Home shift+Down
sleep 0.3
xdotool key Insert
wait_for has_window 'Dodaj font u kategoriju'
xdotool key Return # the new-category entry, first in the list
wait_for has_window 'Nova kategorija'
xdotool key ctrl+a
xdotool type --delay 50 'Pair'
xdotool key Return
wait_for test -f "$bin/Categories/Pair.lst"
[ "$(grep -c $'^DejaVu[^\r]*\r$' "$bin/Categories/Pair.lst")" -eq 2 ] ||
  fail "the new category holds $(od -c "$bin/Categories/Pair.lst" | head -3)"
sleep 0.5
xdotool windowactivate --sync "$(window_id "$sheet_title")"
xdotool key --clearmodifiers alt+o
sleep 0.3
xdotool key k
sleep 0.3
xdotool key Down Down Down Return # past all fonts, the fonts without a category, the disabled
sleep 0.5
xdotool key Home shift+End
sleep 0.3
xdotool key ctrl+p
wait_for has_window 'Stampaj'
# Its set-up button (several captions there share the P of its mnemonic).
xdotool mousemove --window "$(window_id 'Stampaj')" 367 153 click 1
wait_for has_window 'Page Setup'
escape_from 'Page Setup'
xdotool windowactivate --sync "$(window_id 'Stampaj')"
xdotool key Return
wait_for has_window 'Informacija'
pdf="$HOME/Documents/Font Lista.pdf"
[ "$(pdftotext "$pdf" - | grep -o DejaVu | wc -l)" -eq 4 ] ||
  fail "the PDF does not hold the category's two families, each twice: $(pdftotext "$pdf" - | head)"
xdotool key Return
sleep 0.5
has_window 'Informacija' && fail "the message about the PDF did not close"

# The folder sheet on the page's folder filled with up to 300 of this
# machine's font files: opened from the Fonts menu, scrolled to the end and
# back, closed with Esc; then the folder together with the installed fonts.
# Faces of other scripts are linked in first (their names sort before the
# rest): the sheet's top rows draw Arabic, Devanagari and mathematics, and
# Details on its first row names the Arabic file.
linked=0
for font in /usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf \
  /usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf \
  /usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf; do
  if [ -f "$font" ]; then
    linked=$((linked + 1))
    ln -s "$font" "$HOME/Documents/fonts/0$linked-$(basename "$font")"
  else
    echo "note: $font is absent; the folder sheet shows no face of its script"
  fi
done
copied=0
while IFS= read -r font && [ "$copied" -lt 300 ]; do
  cp "$font" "$HOME/Documents/fonts/" && copied=$((copied + 1))
done < <(find /usr/share/fonts -type f \( -name '*.ttf' -o -name '*.otf' \))
folder_caption="Sadrzaj $HOME/Documents/fonts/"
main_menu n v
wait_for has_window "$folder_caption"
xdotool windowactivate --sync "$(window_id "$folder_caption")"
sleep 0.5
snapshot "$folder_caption" 300x150+0+40 "$root/folder-sheet.png"
[ "$(convert "$root/folder-sheet.png" -format '%k' info:)" -gt 2 ] ||
  fail "the folder sheet shows no samples"
first_linked=$(cd "$HOME/Documents/fonts" && ls 01-* 2>/dev/null || true)
if [ -n "$first_linked" ]; then
  xdotool key --clearmodifiers alt+Return
  wait_for has_window "$first_linked - Detalji"
  xdotool windowactivate --sync "$(window_id "$first_linked - Detalji")"
  sleep 0.5
  escape_from "$first_linked - Detalji"
  has_window "$folder_caption" || fail "Esc in Details closed the folder sheet too"
  xdotool windowactivate --sync "$(window_id "$folder_caption")"
fi
xdotool key End
sleep 0.3
xdotool key Page_Up Page_Up Home
sleep 0.3
escape_from "$folder_caption"
kill -0 "$letterwell_pid" || fail "the program ended with the folder sheet"
main_menu n z
wait_for has_window 'Instaliranih fontova'
xdotool windowactivate --sync "$(window_id 'Instaliranih fontova')"
sleep 0.3
escape_from 'Instaliranih fontova'

# Options > Settings: the main sample's size typed and its colour chosen in
# the colour dialog, then OK; Help: the notes (F1) and the About box, each
# closed with Esc.
main_menu c p
wait_for has_window 'Opcije'
options=$(window_id 'Opcije')
# Clicked by position: only once it is active and laid out (a click on a
# window still being mapped was lost once beside the whole suite).
xdotool windowactivate --sync "$options"
sleep 0.5
xdotool mousemove --window "$options" 404 81 click 1 # the size box
xdotool key ctrl+a
xdotool type --delay 50 '30'
xdotool mousemove --window "$options" 404 30 click 1 # the font colour
wait_for has_window 'Select Color'
xdotool key --clearmodifiers alt+h
xdotool key ctrl+a
xdotool type --delay 50 '#c00000'
xdotool key Return
wait_for no_window 'Select Color'
xdotool windowactivate --sync "$options"
xdotool key Return
wait_for no_window 'Opcije'
[ "$(stored_number 'Font Size')" -eq 30 ] || fail "the size chosen was not saved: $(stored 'Font Size')"
[ "$(stored 'Font color')" = "000000c0" ] || fail "the colour chosen was not saved: $(stored 'Font color')"
xdotool windowactivate --sync "$(window_id "$main_title")"
xdotool key F1
wait_for has_window 'Procitaj'
xdotool windowactivate --sync "$(window_id 'Procitaj')"
escape_from 'Procitaj'
main_menu m o
wait_for has_window 'INFO'
escape_from 'INFO'

maximize "$main_title"
quit_through_file_menu

grep -aq "^\"Not installed tab path\"=\"$HOME/Documents/fonts/\"" "$settings" ||
  fail "the folder shown was not stored: $(grep -a 'Not installed' "$settings")"
[ "$(stored_number 'Window left')" -eq "$first_left" ] && [ "$(stored_number 'Window top')" -eq "$first_top" ] ||
  fail "the main window moved from $first_left,$first_top to $(stored_number 'Window left'),$(stored_number 'Window top')"
[ "$(stored_number 'Font list left')" -eq "$first_list_left" ] && [ "$(stored_number 'Font list top')" -eq "$first_list_top" ] ||
  fail "the sheet moved from $first_list_left,$first_list_top to $(stored_number 'Font list left'),$(stored_number 'Font list top')"
grep -aq '^"Category1"="Pair"' "$settings" && grep -aq '^"Category2"="Smoke"' "$settings" ||
  fail "the category index was not stored at the end: $(grep -a '^"Categ' "$settings")"
# --- Run 3 -----------------------------------------------------------------
# The settings chosen in run 2 are read back and written again at the end.
start_letterwell 3
quit_through_file_menu
[ "$(stored_number 'Font Size')" -eq 30 ] && [ "$(stored 'Font color')" = "000000c0" ] ||
  fail "a restart lost the options: size $(stored 'Font Size'), colour $(stored 'Font color')"

# --- Run 4 -----------------------------------------------------------------
# A kill (as at a logout) ends the program as File > Exit does: the
# settings are written again, and its temporary font folder goes.
start_letterwell 4
rm -f "$settings"
kill -TERM "$letterwell_pid"
wait "$letterwell_pid" || fail "SIGTERM did not end the program as Exit does: $(cat "$root"/letterwell-4.log)"
[ "$(stored_number 'Font Size')" -eq 30 ] || fail "SIGTERM lost the settings: size $(stored 'Font Size')"
[ ! -e "$XDG_DATA_HOME/fonts/Letterwell temporary" ] || fail "the temporary font folder outlived the program"

echo "x11 smoke run passed"
