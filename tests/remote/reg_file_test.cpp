#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "remote/local_registry.h"
#include "remote/reg_file.h"
#include "remote/registry_bytes.h"
#include "remote/sim/sim_registry.h"

namespace corvane::remote {
namespace {

const char* const kVersion5 =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; exported for a test\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n"
    "@=\"default \\\"quoted\\\"\"\r\n"
    "\"Path\"=\"C:\\\\Program Files\\\\Test\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Exp\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,\\\r\n"
    "  25,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00\r\n"
    "\"Blob\"=hex:01,ff,10\r\n"
    "\"Big\"=hex(b):01,00,00,00,00,00,00,80\r\n"
    "\"Gone\"=-\r\n"
    "\r\n"
    "[-HKEY_USERS\\S-1-5-21\\Old]\r\n";

TEST(RegFile, ParsesEveryValueKindOfVersion5) {
    const RegFile file = Parse_Reg_Text(kVersion5);
    EXPECT_EQ(file.format, RegFormat::Version5);
    ASSERT_EQ(file.keys.size(), 2u);
    const RegKeyBlock& key = file.keys[0];
    EXPECT_EQ(key.root, kHkeyLocalMachine);
    EXPECT_EQ(key.keyPath, "Software\\Test");
    ASSERT_EQ(key.values.size(), 8u);
    EXPECT_EQ(key.values[0].name, "");
    EXPECT_EQ(key.values[0].value->text, "default \"quoted\"");
    EXPECT_EQ(key.values[1].value->text, "C:\\Program Files\\Test");
    EXPECT_EQ(key.values[2].value->type, kRegDword);
    EXPECT_EQ(key.values[2].value->number, 42u);
    EXPECT_EQ(key.values[3].value->type, kRegExpandSz);
    EXPECT_EQ(key.values[3].value->text, "%SystemRoot%");  // joined over the continuation line
    EXPECT_EQ(key.values[4].value->parts, (std::vector<std::string>{"a", "bc"}));
    EXPECT_EQ(key.values[5].value->bytes, (std::vector<std::uint8_t>{1, 0xff, 0x10}));
    EXPECT_EQ(key.values[6].value->number, 0x8000000000000001ull);
    EXPECT_FALSE(key.values[7].value.has_value());
    EXPECT_TRUE(file.keys[1].deleteKey);
    EXPECT_EQ(file.keys[1].root, kHkeyUsers);
}

TEST(RegFile, Regedit4KeepsTextInTheAnsiCodePage) {
    const std::string text = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\T]\n\"E\"=hex(2):25,77,69,6e,64,69,72,25,00\n";
    const RegFile file = Parse_Reg_Text(text);
    EXPECT_EQ(file.format, RegFormat::Regedit4);
    EXPECT_EQ(file.keys[0].values[0].value->text, "%windir%");
}

RegistryValue Value(std::uint32_t type, std::string text, std::vector<std::uint8_t> bytes = {}) {
    RegistryValue value;
    value.type = type;
    value.text = std::move(text);
    value.bytes = std::move(bytes);
    return value;
}

// What a file of either form holds comes back block for block, value for
// value (type and bytes): data with line breaks, zeros and other control
// characters goes as hex bytes, and no name can end its line or open a block.
TEST(RegFile, WhatIsWrittenReadsBackExactly) {
    RegistryValue multi = Value(kRegMultiSz, "");
    multi.parts = {"a\rb", "c\n", "\x7F"};
    RegistryValue qword = Value(kRegQword, "");
    qword.number = 0x8000000000000001ull;
    RegFile file;
    file.keys.push_back({.root = kHkeyUsers,
                         .keyPath = "S-1\\Soft]ware\\\"q\"=hex:00\\[HKEY_LOCAL_MACHINE",
                         .values = {{"a]b", Value(kRegSz, "line 1\r\nline 2")},
                                    {"Gr\xC3\xBC\xC3\x9F"
                                     "e",
                                     Value(kRegSz,
                                           "Gr\xC3\xBC\xC3\x9F"
                                           "e \"x\" \\ y")},
                                    {"q\"=hex(2):41,00", Value(kRegExpandSz, "%x%\ny")},
                                    {"n=hex", Value(kRegSz, "C:\\dir\\")},
                                    {"\\", Value(kRegSz, "tab\there, \x01 and \x7F")},
                                    {"", multi},
                                    {"[HKEY_USERS\\x]", Value(kRegBinary, "", {0x0D, 0x0A, 0x00, 0x22})},
                                    {"none", Value(kRegNone, "", {0x00, 0x0A})},
                                    {"q", qword}}});
    file.keys.push_back({.root = kHkeyLocalMachine,
                         .keyPath = "Software\\\xC3\x9Cn\xC3\xAF"
                                    "code",
                         .values = {{"v", Value(kRegSz, "w")}}});
    for (const RegFormat format : {RegFormat::Version5, RegFormat::Regedit4}) {
        file.format = format;
        const RegFile read = Parse_Reg_File(Reg_File_Bytes(file));
        EXPECT_EQ(read.format, format);
        ASSERT_EQ(read.keys.size(), file.keys.size());
        for (std::size_t k = 0; k < file.keys.size(); ++k) {
            const RegKeyBlock& written = file.keys[k];
            EXPECT_EQ(read.keys[k].root, written.root);
            EXPECT_EQ(read.keys[k].keyPath, written.keyPath);
            ASSERT_EQ(read.keys[k].values.size(), written.values.size()) << written.keyPath;
            for (std::size_t v = 0; v < written.values.size(); ++v) {
                const RegValueLine& line = read.keys[k].values[v];
                EXPECT_EQ(line.name, written.values[v].name);
                ASSERT_TRUE(line.value.has_value()) << line.name;
                EXPECT_EQ(line.value->type, written.values[v].value->type) << line.name;
                EXPECT_EQ(Encode_Registry_Value(*line.value), Encode_Registry_Value(*written.values[v].value))
                    << line.name;
            }
        }
    }
}

TEST(RegFile, JoinedExportsAndDeletionsApply) {
    // Two exports joined by "copy a + b c": the second header is accepted.
    const std::string joined = std::string(kVersion5) +
                               "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_USERS\\S-1-5-21\\New]\r\n\"v\"=\"1\"\r\n";
    SimRegistry registry;
    registry.Set_String(kHkeyUsers, "S-1-5-21\\Old\\Deep", "x", "y");
    registry.Set_String(kHkeyLocalMachine, "Software\\Test", "Gone", "z");
    registry.Import(Parse_Reg_Text(joined));
    EXPECT_FALSE(registry.Key_Exists(kHkeyUsers, "S-1-5-21\\Old"));
    EXPECT_TRUE(registry.Key_Exists(kHkeyUsers, "S-1-5-21\\New"));
    RegistryValue value;
    EXPECT_EQ(registry.Get_Value(kHkeyLocalMachine, "Software\\Test", "Gone", value), 2u);
    EXPECT_EQ(registry.Get_Value(kHkeyLocalMachine, "Software\\Test", "Count", value), 0u);
}

TEST(RegFile, MalformedFilesAreRefused) {
    for (const char* text :
         {"", "[HKEY_LOCAL_MACHINE\\x]\r\n", "REGEDIT4\r\n\"v\"=\"outside\"\r\n", "REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n",
          "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=dword:123456789\r\n", "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=\"open\r\n",
          "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=hex:zz\r\n", "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=dword:zz\r\n",
          "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=dword:12zz\r\n", "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=hex(zz):00\r\n",
          "REGEDIT4\r\n[HKLM\\x]\r\n\"v\"=hex():00\r\n"}) {
        EXPECT_THROW((void)Parse_Reg_Text(text), RuntimeError) << text;
    }
}

}  // namespace
}  // namespace corvane::remote
