#!/usr/bin/env bash
# Screenshots of every window of the skin through the skin viewer, including hot and pushed
# states (real pointer moves with xdotool) and the toolbar's attribute pages, written to
# build/screens/*.png for a person to look at.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${SCREENSHOT_BUILD_ROOT:-$ROOT/build}
OUT=$BUILD/screens
"$ROOT/scripts/build.sh" win >/dev/null || exit 1
source "$ROOT/scripts/wine_env.sh"
wine_env_setup "$BUILD/win" >/dev/null || exit 1
trap wine_env_teardown EXIT
rm -rf "$OUT"
mkdir -p "$OUT"
VIEWER="$BUILD/win/skin_viewer.exe"
# A grey backdrop shows where windows are transparent.
xsetroot -solid '#9AA0A6' 2>/dev/null

# shot NAME LAYOUT WIDTH HEIGHT [HOVER_X HOVER_Y [press]] -- [viewer options]
shot() {
    local name=$1 layout=$2 width=$3 height=$4
    shift 4
    local hx="" hy="" press=""
    if [ "${1:-}" != "--" ]; then hx=$1; hy=$2; shift 2; fi
    if [ "${1:-}" = "press" ]; then press=1; shift; fi
    [ "${1:-}" = "--" ] && shift
    xdotool mousemove 1900 1060
    wine "$VIEWER" "$layout" --at 40,40 "$@" >/dev/null 2>&1 &
    local pid=$!
    local i
    for i in $(seq 1 100); do
        xdotool search --name "^skin viewer: $layout\$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 0.6
    if [ -n "$hx" ]; then
        xdotool mousemove $((40 + hx)) $((40 + hy))
        sleep 0.5
        [ -n "$press" ] && xdotool mousedown 1 && sleep 0.3
    fi
    # The crop leaves a margin of the grey backdrop around the window.
    import -window root -crop $((width + 40))x$((height + 40))+20+20 +repage "$OUT/$name.png"
    [ -n "$press" ] && xdotool mouseup 1
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    echo "$OUT/$name.png"
}

shot main main_wnd.xml 605 127 --
shot main_hot_capture main_wnd.xml 605 127 90 85 --
shot main_pushed_folder main_wnd.xml 605 127 232 85 press --
shot main_hot_settings main_wnd.xml 605 127 397 84 --
shot floating floating_wnd.xml 36 36 --
shot floating_hover floating_wnd.xml 36 36 -- --bkimage background=floating_wnd/2.png
shot settings set_wnd.xml 500 500 -- --select hide_main_wnd_when_capture,pic_format_png \
    --text 'label_save_path=C:\users\me\Pictures\screenshot_pic'
shot settings_hot_ok set_wnd.xml 500 500 450 357 -- --select not_hide_main_wnd_when_capture,pic_format_bmp \
    --text 'label_save_path=D:\截图\2024'
shot toast toast.xml 201 60 -- --text toast_label=已复制到剪切板
shot about about_wnd.xml 400 250 -- --text version_label=1.0.0.1 --text last_update=2026-12-07
shot feedback feedback_wnd.xml 500 320 --
shot feedback_typed feedback_wnd.xml 500 320 -- --text feedback_edit=截图很好用，希望增加滚动截图。 --text input_count_label=15/200
shot pinned_hint show_picture.xml 400 250 -- --size 400,250 --width pic_label=400 --height pic_label=250 \
    --bkimage pic_label=about_wnd/bk.png --width label_layout=400 --text 'static_hint=💡 左键拖动 · ESC关闭 (3)'
shot toolbar rectangular_selector_tool_bar.xml 592 84 --
shot toolbar_hot_arrow rectangular_selector_tool_bar.xml 592 84 126 18 --
shot toolbar_pushed_save rectangular_selector_tool_bar.xml 592 84 486 18 press -- --enable undo_btn
shot toolbar_rectangle rectangular_selector_tool_bar.xml 592 84 -- --select rectangle_btn,normal_clr_7 \
    --show triangle,attribute_bar,normal_attribute_page --padding triangle=36,0,0,0 --width attribute_bar=535 --enable undo_btn
shot toolbar_arrow rectangular_selector_tool_bar.xml 592 84 -- --select arrow_btn,normal_clr_1 \
    --show triangle,attribute_bar,normal_attribute_page --hide line_style_combo,line_style_vertical_line \
    --width normal_attribute_page=390 --width attribute_bar=400 --padding triangle=116,0,0,0
shot toolbar_text rectangular_selector_tool_bar.xml 592 84 -- --select text_btn,normal_clr_3 \
    --show triangle,attribute_bar,text_attribute_page --width attribute_bar=358 --padding triangle=276,0,0,0
shot toolbar_width_list rectangular_selector_tool_bar.xml 592 200 -- --select line_btn \
    --show triangle,attribute_bar,normal_attribute_page --width attribute_bar=535 --padding triangle=156,0,0,0 \
    --drop line_width_combo
shot toolbar_size_list rectangular_selector_tool_bar.xml 592 560 -- --select text_btn \
    --show triangle,attribute_bar,text_attribute_page --width attribute_bar=358 --padding triangle=276,0,0,0 \
    --drop font_size_combo
