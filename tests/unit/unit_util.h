// Shared by the unit tests: a scratch file for sources, and one-call assembly of a text.
#pragma once

#include "asm.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

inline std::string scratch_path(const std::string& name)
{
    return "/tmp/vexa-unit-" + std::to_string(getpid()) + "-" + name;
}

inline void write_file(const std::string& path, const std::string& text)
{
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(stream && std::fwrite(text.data(), 1, text.size(), stream) == text.size());
    std::fclose(stream);
}

// Assembles `source` as the one file of a fresh run and resolves its fixups.
inline void assemble_text(const std::string& source)
{
    static const std::string path = scratch_path("one.s");
    write_file(path, source);
    reset_assembler();
    assemble_file(path.c_str());
    resolve_fixups();
    std::remove(path.c_str());
}
