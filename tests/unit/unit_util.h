// Shared by the unit tests: a scratch folder for sources, and one-call assembly of a text.
#pragma once

#include "asm.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

// One scratch folder per test process, memory-backed where the host has one, since the
// round trip writes 65536 one-line sources.
inline std::string scratch_path(const std::string& name)
{
    static const std::string dir = [] {
        char shm[] = "/dev/shm/vexa-unit-XXXXXX", tmp[] = "/tmp/vexa-unit-XXXXXX";
        const char* made = mkdtemp(shm) ? shm : mkdtemp(tmp);
        if (!made) std::abort();
        std::atexit([] { std::filesystem::remove_all(scratch_path("")); });
        return std::string(made);
    }();
    return dir + "/" + name;
}

inline void write_file(const std::string& path, const std::string& text)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(fd);
}

// Assembles `source` as the one file of a fresh run and resolves its fixups.
inline void assemble_text(const std::string& source)
{
    static const std::string path = scratch_path("one.s");
    write_file(path, source);
    reset_assembler();
    assemble_file(path.c_str());
    resolve_fixups();
}
