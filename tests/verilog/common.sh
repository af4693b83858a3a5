# shellcheck shell=bash
# Shared by the Verilog ROM test scripts; sourced, not run.

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
