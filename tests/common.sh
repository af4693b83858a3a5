# shellcheck shell=bash
# Shared by the test scripts that run vexa-as beside other tools; sourced, not run.

# need_tool NAME...: ends the test as skipped (status 77) when a tool is missing.
need_tool() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" > /dev/null 2>&1; then
            echo "SKIP: $tool not found"
            exit 77
        fi
    done
}

# full_program DIR: writes DIR/full.s, a program of 32768 distinct non-zero words that fills
# the whole 64 KiB (word i is (40503 * i + 1) mod 65536, and 40503 is odd), and DIR/full.words,
# the same words in hex, one per line.
full_program() {
    awk -v words="$1/full.words" 'BEGIN {
        print "; 32768 words: the image is full, with no byte to spare"
        print "fill:"
        for (i = 0; i < 32768; i++) {
            printf "\tword 0x%04X\n", (40503 * i + 1) % 65536
            printf "%04X\n", (40503 * i + 1) % 65536 > words
        }
    }' > "$1/full.s"
}

# image_words BIN OUT: the 65536-byte binary image as 32768 hex words, one per line. The
# image stores every word low byte first.
image_words() {
    od -An -v -tx1 -w2 "$1" | awk '{ print toupper($2 $1) }' > "$2"
}

# expected_words DIR: checks that DIR/prog.bin holds the whole memory, writes its words to
# DIR/words.txt, and, when full_program made DIR/full.words, checks that they are those.
expected_words() {
    local size
    size=$(wc -c < "$1/prog.bin")
    if [ "$size" -ne 65536 ]; then
        echo "FAIL: $1/prog.bin holds $size bytes, not 65536"
        exit 1
    fi
    image_words "$1/prog.bin" "$1/words.txt"
    if [ -f "$1/full.words" ] && ! cmp -s "$1/full.words" "$1/words.txt"; then
        echo "FAIL: the binary image of the full program is not the 32768 words of its source"
        exit 1
    fi
}
