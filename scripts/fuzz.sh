#!/bin/sh
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) in build/fuzz and runs each for SECONDS seconds, one after the
# other. The corpora start from the test data, copied into the build folder.
# Exits non-zero when any target reports a finding.
#   scripts/fuzz.sh 20      # a smoke run
#   scripts/fuzz.sh 600     # a long run
# OL_FUZZ_TARGETS="fuzz_next_token fuzz_next_line" limits the run to those.
set -eu
seconds=${1:?usage: scripts/fuzz.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
data="$root/tests/data"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOWNERLENS_FUZZ=ON -DOWNERLENS_TESTS=OFF -DOWNERLENS_BENCH=OFF \
  -DOWNERLENS_SANITIZE=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_targets

run="$build/run"
mkdir -p "$run"

# Seeds: whole answers for the line reader and the parsers, single values
# for the value readers.
seed_answers() {
    find "$data/whois" -name '*.txt' -exec cp {} "$1/" \;
}
seed_rdap() {
    find "$data/rdap" -name '*.json' -exec cp {} "$1/" \;
}
seed_values() {
    dir=$1
    shift
    n=0
    for value in "$@"; do
        n=$((n + 1))
        printf '%s' "$value" >"$dir/seed-$n"
    done
}

failed=""
all="fuzz_arin_parser fuzz_ripe_parser fuzz_lacnic_parser fuzz_rdap_parser fuzz_next_line fuzz_parse_address_range
fuzz_parse_cidr_range fuzz_pick_abuse_address fuzz_next_token fuzz_parse_dotted_quad"
for target in ${OL_FUZZ_TARGETS:-$all}; do
    corpus="$run/corpus/$target"
    artifacts="$run/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    rm -f "$artifacts"/*
    extra=""
    case $target in
    fuzz_rdap_parser)
        seed_rdap "$corpus"
        extra="-max_len=32768 -dict=$root/fuzz/rdap.dict"
        ;;
    fuzz_*_parser | fuzz_next_line)
        seed_answers "$corpus"
        extra="-max_len=32768 -dict=$root/fuzz/whois.dict"
        ;;
    fuzz_parse_address_range)
        seed_values "$corpus" "192.0.2.0 - 192.0.2.255" "192.0.2.0-192.0.2.255" "10.0.0.0, 10.255.255.255" \
            "198.51.100.7" "a 1.2.3.4 b 5.6.7.8 c"
        ;;
    fuzz_parse_cidr_range)
        seed_values "$corpus" "200.160/12" "200.160.3.7/24" "189.163.17/24" "0/8" "200.160/0" "1.2.3.4./ +24" \
            "170.0.0.0/22"
        ;;
    fuzz_pick_abuse_address)
        seed_values "$corpus" "ABUSE@example.net, x" "mailto:abuse@example.net" "<abuse@example.net>" \
            "(abuse@example.net); 'abuse@x'" "noc@example.net"
        ;;
    fuzz_next_token)
        seed_values "$corpus" "@ , a,,b" "Q-  192.0.2.0 - 192.0.2.255" "\001;a;b;;c" "x ()[],;:\"'abuse@x"
        ;;
    fuzz_parse_dotted_quad)
        seed_values "$corpus" "198.051.100.001" "198.51.100.256" "1.2.3.4." "200.160" "0.0.0.0" "255.255.255.255"
        ;;
    esac
    log="$run/$target.log"
    echo "== $target: ${seconds}s"
    # shellcheck disable=SC2086
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" $extra "$corpus" >"$log" 2>&1; then
        failed="$failed $target"
    fi
    if ls "$artifacts"/* >/dev/null 2>&1; then
        case " $failed " in *" $target "*) ;; *) failed="$failed $target" ;; esac
    fi
    grep -E "^stat::number_of_executed_units|^stat::new_units_added|^#[0-9]+ *DONE" "$log" | tr '\n' ' '
    echo
done

if [ -n "$failed" ]; then
    echo "Findings in:$failed (see $run/<target>.log and $run/artifacts/)"
    exit 1
fi
echo "No findings."
