// Shared helpers of the unit tests: a fixture that starts every test from the tables of a
// fresh run, a scratch folder for sources and outputs, and one-call assembly of a text.
#pragma once

#include "asm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct FreshTables : ::testing::Test {
    void SetUp() override { reset_assembler(); }
};

// One scratch folder per test process, removed when the process ends.
inline const std::string& scratch_dir()
{
    struct Dir {
        std::string path;
        Dir()
        {
            // Memory-backed when the host has it: the round trip writes tens of thousands
            // of one-line sources.
            char shm[] = "/dev/shm/vexa-unit-XXXXXX";
            char tmp[] = "/tmp/vexa-unit-XXXXXX";
            path = mkdtemp(shm) ? shm : mkdtemp(tmp) ? tmp : "/tmp";
        }
        ~Dir()
        {
            if (path != "/tmp") {
                std::error_code ignored;
                std::filesystem::remove_all(path, ignored);
            }
        }
    };
    static Dir dir;
    return dir.path;
}

inline std::string scratch_path(const std::string& name) { return scratch_dir() + "/" + name; }

inline void write_file(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

inline std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The image below the location counter as upper-case hex words, "F001 6230"; an odd last
// byte shows with the zero that pads it.
inline std::string image_words(int32_t from = 0)
{
    std::string text;
    char word[8];
    for (int32_t a = from; a < location_counter; a += 2) {
        std::snprintf(word, sizeof word, "%s%04X", text.empty() ? "" : " ", image_word(a));
        text += word;
    }
    return text;
}

// The messages of the notes that start with `kind` ("# error " by default, or "# warning "),
// in order, each without its "path(line): " position.
inline std::vector<std::string> error_messages(const std::string& kind = "# error ")
{
    std::vector<std::string> messages;
    for (int32_t i = 0; i < note_count; i++) {
        std::string text = note_text(i);
        if (text.rfind(kind, 0) != 0) {
            continue;
        }
        text.erase(0, kind.size());
        size_t close = text.find("): ");
        if (text.rfind(scratch_dir(), 0) == 0 && close != std::string::npos) {
            text.erase(0, close + 3);
        }
        messages.push_back(text);
    }
    return messages;
}

// Assembles `source` as the one file of a fresh run and resolves its fixups.
inline void assemble_text(const std::string& source)
{
    static const std::string path = scratch_path("one.s");
    // One file, kept open and rewritten in place.
    static const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(ftruncate(fd, 0), 0);
    ASSERT_EQ(pwrite(fd, source.data(), source.size(), 0),
              static_cast<ssize_t>(source.size()));
    reset_assembler();
    assemble_file(path.c_str());
    resolve_fixups();
}
