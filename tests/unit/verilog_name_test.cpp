// The Verilog module name taken from an output path: the base name up to its first dot when
// every tool accepts it as a module name, else the fallback "prom".
#include "unit_util.h"

#include <string>

TEST(VerilogModuleName, FromPath)
{
    struct Row { const char* path; const char* name; };
    const Row rows[] = {
        {"rtl/boot_rom.v", "boot_rom"},
        {"boot.rom.v", "boot"},
        {"/abs/dir.d/rom", "rom"},         // a dot in a folder name is not the file's
        {"_rom.v", "_rom"},
        {"Rom2.v", "Rom2"},
        {"Logic.v", "Logic"},              // keywords are case-sensitive
        {"2nd.v", "prom"},                 // starts with a digit
        {"logic.v", "prom"},               // SystemVerilog keyword
        {"bit.sv", "prom"},
        {"always.v", "prom"},              // Verilog keyword
        {"xor.v", "prom"},                 // the last keyword in byte order
        {"accept_on.v", "prom"},           // the first
        {"endmod.v", "endmod"},            // a prefix of a keyword is no keyword
        {"endmodules.v", "endmodules"},    // nor is a keyword with more after it
        {"my-rom.v", "prom"},
        {"a$b.v", "prom"},
        {".v", "prom"},                    // nothing before the dot
        {"dir/", "prom"},
        {"rom\xC3\xA9.v", "prom"},         // bytes beyond ASCII
    };
    for (const Row& row : rows) {
        char name[64];
        verilog_module_name(row.path, name, sizeof name);
        EXPECT_STREQ(name, row.name) << row.path;
    }
}

TEST(VerilogModuleName, TooLongForTheBufferFallsBack)
{
    std::string path(80, 'a');
    char name[64];
    verilog_module_name(path.c_str(), name, sizeof name);
    EXPECT_STREQ(name, "prom");
}
