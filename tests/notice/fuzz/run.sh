#!/bin/sh
# Builds the libFuzzer target for the notice reply parser in a Clang build of the project (with
# AddressSanitizer and UndefinedBehaviorSanitizer), seeds it with the replies of the client's tests, and runs it.
# Usage: tests/notice/fuzz/run.sh [seconds, default 60] [work directory, default build-fuzz]
# Exits non-zero when the build fails or the fuzzer finds a crash, a leak, a hang or undefined behaviour.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
seconds=${1:-60}
work=${2:-$repo/build-fuzz}
mkdir -p "$work/seeds" "$work/corpus"

# A Clang build of the project with libFuzzer's instrumentation, sanitizers on; only the fuzzer is built.
cmake -S "$repo" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DORVANE_FUZZ=ON -DORVANE_SANITIZE=ON -DORVANE_TESTS=ON >/dev/null
cmake --build "$work/build" --target reply_fuzzer >/dev/null
fuzzer="$work/build/tests/notice/reply_fuzzer"

# First byte: piece size - 1 in its low bits, "goes silent at the end" in its top bit; then the reply.
# Pieces of 1 byte split every line, length and chunk; larger ones break them at other places.
seed() {
    printf "$2" > "$work/seeds/$1"
}
seed content-length    '\007HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello'
seed closed-early      '\000HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhel'
seed chunked           '\003HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6 ext\r\n world\r\n0\r\n\r\n'
seed chunked-bad-size  '\011HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n5;x\r\n\r\n'
seed read-to-close     '\177HTTP/1.0 200 OK\r\nServer: test\r\n\r\n<zeqa2>http://a.example/</zeqa2>'
seed no-tag-opening    '\177HTTP/1.0 200 OK\r\n\r\nabcdefghijklmnopqrs</zeqa2>'
seed length-zero       '\177HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n'
seed no-content        '\177HTTP/1.1 204 No Content\r\n\r\n'
seed continue-then-ok  '\005HTTP/1.1 100 Continue\r\nX-A: b\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok'
seed redirect          '\177HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\nContent-Length: 3\r\n\r\nabc'
seed ok-with-location  '\177HTTP/1.1 200 OK\r\nLocation: /other.html\r\nContent-Length: 2\r\n\r\nok'
seed not-found         '\177HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found'
seed drain-stalls      '\201HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\nabcd'
seed silent            '\200HTTP/1.1 200 OK\r\n'
seed cookies           '\177HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; Path=/; HttpOnly\r\nSet-Cookie2: lang="zh"; Version="1"\r\nSet-Cookie: gone=1; Max-Age=0\r\nContent-Length: 2\r\n\r\nok'
seed keep-or-close     '\177HTTP/1.1 200 OK\r\nConnection: close\r\nProxy-Connection: keep-alive\r\nContent-Length: 2\r\n\r\nok'
seed header-cut-off    '\177HTTP/1.1 200 OK\r\nContent-Length: 5\r\n'
seed closed-in-status  '\177HTTP/1.1 200'
seed gbk-status        '\177HTTP/1.1 404 \325\322\262\273\265\275\r\n\r\n'
seed gbk-page          '\177HTTP/1.0 200 OK\r\n\r\n\201<zeqa2>x</zeqa2>\326\320'
seed chunked-bytes     '\000HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n'
seed surplus           '\002HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\noksurplus'
seed body-stalls       '\203HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc'

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=70000 \
    -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$work/seeds"
