# Sourced by the test scripts: wall-clock times of steps, from bash's own clock.
#   now_us                 microseconds since the epoch
#   seconds_since START    seconds since START (from now_us), with one decimal

now_us() { echo "${EPOCHREALTIME//[.,]/}"; }

seconds_since() {
    local d=$(($(now_us) - $1))
    echo "$((d / 1000000)).$((d / 100000 % 10))"
}
