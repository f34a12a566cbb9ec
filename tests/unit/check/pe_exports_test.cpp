// The reader of a library's own description, given a small library image made here: it finds
// the processor, the export names and the libraries it imports (also delay-loaded) in both
// image formats, and refuses whatever is cut short
// or points outside the file without reading a byte past it (the host build runs under
// AddressSanitizer).
#include "check/PeExports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t PE_HEADER = 0x40;
constexpr size_t FILE_HEADER = PE_HEADER + 4;
constexpr size_t OPTIONAL_HEADER = FILE_HEADER + 20;
constexpr uint32_t SECTION_RVA = 0x1000;
constexpr uint32_t SECTION_FILE = 0x200;
const std::vector<std::string> IMPORTS = {"KERNEL32.dll", "MSVCR90.dll"};
const std::vector<std::string> DELAY_IMPORTS = {"WINUSB.DLL"};

void Put(Bytes& bytes, size_t at, uint32_t value, size_t width)
{
    if (bytes.size() < at + width)
        bytes.resize(at + width);
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Writes the text and its zero at the address of the section; returns the address after it.
uint32_t PutName(Bytes& bytes, uint32_t rva, const std::string& text)
{
    for (size_t c = 0; c <= text.size(); ++c)
        Put(bytes, SECTION_FILE + (rva - SECTION_RVA) + c, c < text.size() ? text[c] : 0, 1);
    return rva + static_cast<uint32_t>(text.size() + 1);
}

// One descriptor of the size per library, its name's address at nameField, then one of zeros and
// the names; the directory's address goes into the data directory at entry. Returns the
// address after the last name.
uint32_t PutLibraries(Bytes& bytes, size_t directories, uint32_t entry, uint32_t rva, size_t size, size_t nameField,
                      const std::vector<std::string>& libraries)
{
    Put(bytes, directories + 8 * entry, rva, 4);
    uint32_t name = rva + static_cast<uint32_t>(size * (libraries.size() + 1));
    Put(bytes, SECTION_FILE + (name - 1 - SECTION_RVA), 0, 1);
    for (size_t i = 0; i < libraries.size(); ++i) {
        const size_t descriptor = SECTION_FILE + (rva - SECTION_RVA) + size * i;
        Put(bytes, descriptor, 1, 4); // a delay descriptor's attributes: addresses are offsets
        Put(bytes, descriptor + nameField, name, 4);
        name = PutName(bytes, name, libraries[i]);
    }
    return name;
}

// A library for the machine with one section holding its export directory, the table of name
// addresses and the names, then its import and delay-import directories with their names; the
// file ends with the last name's zero.
Bytes Library(uint16_t machine, bool plus, const std::vector<std::string>& names, uint16_t characteristics = 0x2102)
{
    Bytes bytes;
    Put(bytes, 0, 0x5A4D, 2);
    Put(bytes, 0x3C, PE_HEADER, 4);
    Put(bytes, PE_HEADER, 0x00004550, 4);
    const uint16_t optionalSize = plus ? 240 : 224;
    Put(bytes, FILE_HEADER, machine, 2);
    Put(bytes, FILE_HEADER + 2, 1, 2);
    Put(bytes, FILE_HEADER + 16, optionalSize, 2);
    Put(bytes, FILE_HEADER + 18, characteristics, 2);
    Put(bytes, OPTIONAL_HEADER, plus ? 0x20B : 0x10B, 2);
    const size_t directories = OPTIONAL_HEADER + (plus ? 112 : 96);
    Put(bytes, directories - 4, 16, 4);
    Put(bytes, directories, SECTION_RVA, 4);

    const uint32_t table = SECTION_RVA + 40;
    uint32_t name = table + 4 * static_cast<uint32_t>(names.size());
    Put(bytes, SECTION_FILE + 24, static_cast<uint32_t>(names.size()), 4);
    Put(bytes, SECTION_FILE + 32, table, 4);
    for (size_t i = 0; i < names.size(); ++i) {
        Put(bytes, SECTION_FILE + (table - SECTION_RVA) + 4 * i, name, 4);
        name = PutName(bytes, name, names[i]);
    }
    name = PutLibraries(bytes, directories, 1, name, 20, 12, IMPORTS);
    PutLibraries(bytes, directories, 13, name, 32, 4, DELAY_IMPORTS);
    const uint32_t sectionSize = static_cast<uint32_t>(bytes.size() - SECTION_FILE);
    const size_t section = OPTIONAL_HEADER + optionalSize;
    Put(bytes, section + 8, sectionSize, 4);
    Put(bytes, section + 12, SECTION_RVA, 4);
    Put(bytes, section + 16, sectionSize, 4);
    Put(bytes, section + 20, SECTION_FILE, 4);
    return bytes;
}

const std::vector<std::string> NAMES = {"PALDRIX_JtagOpen", "PALDRIX_JtagClose"};

} // namespace

TEST(PeExports, ReadsMachineAndNamesOfBothFormats)
{
    for (const auto& [machine, plus] : {std::pair{PE_MACHINE_I386, false}, std::pair{PE_MACHINE_AMD64, true}}) {
        const TPeExports library = ReadPeExports(Library(machine, plus, NAMES));
        EXPECT_EQ(library.Failure, "");
        EXPECT_EQ(library.Machine, machine);
        EXPECT_EQ(library.Names, NAMES);
        EXPECT_EQ(library.Imports, IMPORTS);
        EXPECT_EQ(library.DelayImports, DELAY_IMPORTS);
    }
    EXPECT_EQ(MachineName(PE_MACHINE_I386), "i386");
    EXPECT_EQ(MachineName(0x01C4), "machine 01C4");
}

TEST(PeExports, RefusesEveryFileCutShort)
{
    const Bytes whole = Library(PE_MACHINE_I386, false, NAMES);
    for (size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const TPeExports library = ReadPeExports(cut);
        EXPECT_NE(library.Failure, "") << size;
        EXPECT_TRUE(library.Names.empty() && library.Imports.empty()) << size;
    }
}

TEST(PeExports, RefusesOffsetsOutsideTheFile)
{
    const Bytes whole = Library(PE_MACHINE_AMD64, true, NAMES);
    const size_t table = SECTION_FILE + 40;
    const std::pair<size_t, uint32_t> breaks[] = {
        {0x3C, 0xFFFFFFF0},             // the PE header
        {SECTION_FILE + 24, 0x40000000}, // more names than the file can hold
        {SECTION_FILE + 32, 0x7FFFFFF0}, // the name table
        {table + 4, 0xFFFFFFFF},         // one name
        {OPTIONAL_HEADER + 112, 0x10},   // the export directory
        {OPTIONAL_HEADER + 120, 0x7FFFFFF0}, // the import directory
        {OPTIONAL_HEADER + 216, 0x7FFFFFF0}, // the delay-import directory
    };
    for (const auto& [at, value] : breaks) {
        Bytes broken = whole;
        Put(broken, at, value, 4);
        EXPECT_NE(ReadPeExports(broken).Failure, "") << std::hex << at;
    }
    EXPECT_EQ(ReadPeExports(Library(PE_MACHINE_I386, false, NAMES, 0x0102)).Failure, "a program, not a library");
}
