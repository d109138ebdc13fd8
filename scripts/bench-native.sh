#!/usr/bin/env bash
# Native playback, Lumivane against bare mpv and the mpv-based players a user would otherwise
# pick, in one run on one Xvfb + openbox display: the same 1080p30 H.264 clip in a window of the
# same size, pointer parked off the window and kept moving over it. Per program and case, the
# CPU seconds of its whole process tree over MEASURE_S seconds and its PSS, then the ratio of
# Lumivane to the leanest peer. One line per figure.
#   ROUNDS=n          repeat every case n times (median kept), default 1
#   LUMIVANE=path     measure this binary instead of building a Release tree
#   BEFORE=path       also measure an earlier binary, as program "before"
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh" mpv celluloid smplayer haruna bc
lumivane=${LUMIVANE:-}
if [[ -z $lumivane ]]; then
    build="$root/build-bench"
    cmake -S "$root" -B "$build" -DLUMIVANE_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j 2 --target lumivane >/dev/null
    lumivane="$build/src/Lumivane/lumivane"
fi

rounds=${ROUNDS:-1}
settle_s=5
measure_s=${MEASURE_S:-10}
work=$(mktemp -d /tmp/lumivane-bench.XXXXXX)
display=:$((90 + RANDOM % 100))
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

clip="$work/clip.mp4"
ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "testsrc2=s=1920x1080:r=30:d=$((settle_s + measure_s + 10))" \
    -f lavfi -i "sine=frequency=440:duration=$((settle_s + measure_s + 10))" -c:v libx264 -preset veryfast \
    -crf 23 -pix_fmt yuv420p -c:a aac -shortest "$clip"

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Every program starts in a home of its own, as on a first start.
fresh_home() {
    local home="$work/home-$1"
    rm -rf "$home"
    mkdir -p "$home/.config/Lumivane" "$home/runtime"
    chmod 700 "$home/runtime"
    printf '[General]\nonboarded=true\n' >"$home/.config/Lumivane/Lumivane.conf"
    echo "$home"
}

start_program() {
    local name=$1 home
    home=$(fresh_home "$name")
    local command
    case $name in
    lumivane) command=("$lumivane" --open "$clip") ;;
    before) command=("$BEFORE" --open "$clip") ;;
    mpv-gpu) command=(mpv --no-config --vo=gpu --gpu-context=x11egl --ao=null --force-window=yes "$clip") ;;
    mpv) command=(mpv --no-config --ao=null "$clip") ;;
    *) command=("$name" "$clip") ;;
    esac
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
        XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/runtime" \
        QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox "${command[@]}" >"$work/$name.log" 2>&1 &
    echo $!
}

# The program's video window: for Lumivane the player (named after the clip), for the others
# their largest window.
video_window() {
    local pid=$1 name=$2 best="" area=0
    for _ in $(seq 100); do
        if [[ $name == lumivane || $name == before ]]; then
            best=$(xdotool search --onlyvisible --pid "$pid" --name '^clip$' 2>/dev/null | head -1 || true)
        else
            for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
                eval "$(xdotool getwindowgeometry --shell "$w")"
                if ((WIDTH * HEIGHT > area)); then area=$((WIDTH * HEIGHT)); best=$w; fi
            done
        fi
        [[ -n $best ]] && break
        sleep 0.1
    done
    echo "$best"
}

tree_pids() {
    local pid=$1
    echo "$pid"
    for child in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do tree_pids "$child"; done
}

cpu_ticks() {
    local total=0 fields
    for pid in $(tree_pids "$1"); do
        fields=$(sed 's/.*) //' /proc/"$pid"/stat 2>/dev/null) || continue
        read -r -a f <<<"$fields"
        total=$((total + f[11] + f[12]))
    done
    echo "$total"
}

pss_mb() {
    local total=0 kb
    for pid in $(tree_pids "$1"); do
        kb=$(awk '/^Pss:/ {print $2}' /proc/"$pid"/smaps_rollup 2>/dev/null || true)
        total=$((total + ${kb:-0}))
    done
    echo $((total / 1024))
}

# The next program must not find this one still running (single-instance players would take
# over its file).
stop_program() {
    local all
    all=$(tree_pids "$1")
    kill $all 2>/dev/null || true
    for _ in $(seq 50); do
        ps -p "${all//$'\n'/,}" >/dev/null || return 0
        sleep 0.1
    done
    kill -9 $all 2>/dev/null || true
}

# Keeps the pointer moving over the window so that every player keeps its controls shown.
wiggle() {
    local x=$1 y=$2
    while true; do
        xdotool mousemove $((x + RANDOM % 40)) $((y + RANDOM % 40))
        sleep 0.5
    done
}

measure() {
    local name=$1 width=$2 height=$3 pointer=$4 pid window start end wiggler=""
    pid=$(start_program "$name")
    window=$(video_window "$pid" "$name")
    if [[ -z $window ]]; then
        echo "native program=$name size=${width}x$height pointer=$pointer error=no-window" >&2
        stop_program "$pid"
        echo "$name 0 0"
        return
    fi
    xdotool windowmove "$window" 40 40 windowsize "$window" "$width" "$height"
    xdotool mousemove 1910 1070
    sleep "$settle_s"
    if [[ $pointer == on ]]; then
        wiggle $((40 + width / 3)) $((40 + height / 3)) &
        wiggler=$!
    fi
    start=$(cpu_ticks "$pid")
    sleep "$measure_s"
    end=$(cpu_ticks "$pid")
    local pss
    pss=$(pss_mb "$pid")
    [[ -n $wiggler ]] && kill "$wiggler"
    stop_program "$pid"
    echo "$name $(echo "scale=2; ($end - $start) / $(getconf CLK_TCK)" | bc) $pss"
}

ratio() { printf '%.2f' "$(echo "scale=4; $1 / $2" | bc)"; }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

programs=(lumivane mpv-gpu mpv celluloid smplayer haruna)
[[ -n ${BEFORE:-} ]] && programs=(before "${programs[@]}")
peers=(celluloid smplayer haruna)
for size in 640x360 1280x720; do
    for pointer in off on; do
        declare -A cpu=() pss=()
        for round in $(seq "$rounds"); do
            for name in "${programs[@]}"; do
                read -r _ c p < <(measure "$name" "${size%x*}" "${size#*x}" "$pointer")
                cpu[$name]+="$c "
                pss[$name]+="$p "
            done
        done
        leanest="" leanest_cpu=""
        for name in "${programs[@]}"; do
            c=$(tr ' ' '\n' <<<"${cpu[$name]}" | grep . | median)
            p=$(tr ' ' '\n' <<<"${pss[$name]}" | grep . | median)
            cpu[$name]=$c
            echo "native size=$size pointer=$pointer program=$name cpu_s_per_${measure_s}s=$c pss_mb=$p"
        done
        for name in "${peers[@]}"; do
            if [[ -z $leanest ]] || (($(echo "${cpu[$name]} < $leanest_cpu" | bc))); then
                leanest=$name leanest_cpu=${cpu[$name]}
            fi
        done
        echo "native size=$size pointer=$pointer ratio lumivane/$leanest=$(ratio "${cpu[lumivane]}" "$leanest_cpu")" \
            "lumivane/mpv-gpu=$(ratio "${cpu[lumivane]}" "${cpu[mpv-gpu]}")" \
            "${BEFORE:+lumivane/before=$(ratio "${cpu[lumivane]}" "${cpu[before]}")}"
        unset cpu pss
    done
done
