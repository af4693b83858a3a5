// The code image: 64 KiB of target memory, the location counter that fills it, and the probe
// behind the load-use interlock. Words are big-endian at even addresses.
#include "asm.h"

#include <cstring>

uint8_t CodeImage[IMAGE_SIZE];
int32_t location_counter;
static bool image_full_reported;

void reset_image()
{
    std::memset(CodeImage, 0, sizeof CodeImage);
    location_counter = 0;
    image_full_reported = false;
}

// A byte or word that would land at or above 65536 is lost; the first loss of a run is
// reported at the statement that caused it, so a truncated program never passes as good.
[[gnu::cold, gnu::noinline]] static void image_overflow()
{
    report_once(image_full_reported, "code image is full");
}

void emit_byte(int32_t value)
{
    if (static_cast<uint32_t>(location_counter) < static_cast<uint32_t>(IMAGE_SIZE)) {
        CodeImage[location_counter++] = static_cast<uint8_t>(value);
    } else {
        image_overflow();
    }
}

void emit_even()
{
    // An odd location counter is at most 65535, so this stores exactly one byte.
    if ((location_counter & 1) != 0) {
        warn_padded_labels();
        CodeImage[location_counter++] = 0;
    }
}

// emit_word on an odd location counter or a full image. Kept out of line: both are rare, and
// apart from them emit_word is a test and two stores that the statement handlers take inline.
[[gnu::cold, gnu::noinline]] static void emit_word_slowly(int32_t word)
{
    emit_even();
    if (static_cast<uint32_t>(location_counter) < static_cast<uint32_t>(IMAGE_SIZE)) {
        CodeImage[location_counter] = static_cast<uint8_t>(word >> 8);
        CodeImage[location_counter + 1] = static_cast<uint8_t>(word);
        location_counter += 2;
    } else {
        image_overflow();
    }
}

void emit_word(int32_t word)
{
    // Even and below 65536: the word fits, high byte first.
    uint32_t lc = static_cast<uint32_t>(location_counter);
    if ((lc & 1) == 0 && lc < static_cast<uint32_t>(IMAGE_SIZE)) {
        CodeImage[lc] = static_cast<uint8_t>(word >> 8);
        CodeImage[lc + 1] = static_cast<uint8_t>(word);
        location_counter = static_cast<int32_t>(lc + 2);
        return;
    }
    emit_word_slowly(word);
}

void align_to(uint32_t n)
{
    uint32_t lc = static_cast<uint32_t>(location_counter);
    if (n == 0 || lc % n == 0) {
        return;
    }
    if ((lc & 1) != 0) {
        warn_padded_labels();
    }
    // The next multiple of n, or the end of the image when that lies beyond it.
    uint64_t target = (static_cast<uint64_t>(lc) / n + 1) * n;
    if (target > static_cast<uint64_t>(IMAGE_SIZE)) {
        while (location_counter < IMAGE_SIZE) {
            CodeImage[location_counter++] = 0;
        }
        image_overflow();
        return;
    }
    while (static_cast<uint64_t>(location_counter) < target) {
        CodeImage[location_counter++] = 0;
    }
}

int32_t load_hazard_reg()
{
    if (location_counter < 2) {
        return 0;
    }
    // Only the high byte matters: M and A both live there.
    uint32_t high = CodeImage[location_counter - 2];
    uint32_t m = high >> 4;
    if (m == 0xA || m == 0xC || m == 0xE) {
        return static_cast<int32_t>(high & 15);
    }
    return 0;
}

uint32_t image_word(int32_t address)
{
    return static_cast<uint32_t>(CodeImage[address]) << 8 | CodeImage[address + 1];
}
