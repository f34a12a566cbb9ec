/*
 * The file is the library's own description of itself and may be anything: cut short, not a
 * library at all, or with offsets that point past its end. Every read goes through one
 * bounds-checked reader whose error sticks, so each step reads on and the outcome is tested
 * once, where it matters; no offset from the file is trusted before the reader has seen it.
 */
#include "check/PeExports.h"

#include <cstdio>

namespace {

constexpr uint16_t DOS_SIGNATURE = 0x5A4D;     // "MZ"
constexpr uint32_t PE_SIGNATURE = 0x00004550;  // "PE\0\0"
constexpr uint16_t OPTIONAL_PE32 = 0x010B;
constexpr uint16_t OPTIONAL_PE32_PLUS = 0x020B;
constexpr uint16_t FILE_IS_DLL = 0x2000;
constexpr size_t SECTION_HEADER_SIZE = 40;
constexpr size_t NAME_MAX = 512;
constexpr uint32_t DIRECTORY_EXPORT = 0;
constexpr uint32_t DIRECTORY_IMPORT = 1;
constexpr uint32_t DIRECTORY_DELAY_IMPORT = 13;
constexpr size_t IMPORT_DESCRIPTOR_SIZE = 20;
constexpr size_t DELAY_DESCRIPTOR_SIZE = 32;
constexpr uint32_t DELAY_RVA_BASED = 1;

class TReader {
public:
    explicit TReader(std::span<const uint8_t> bytes) : Bytes(bytes) {}

    bool Failed() const { return Failure; }

    uint16_t U16(size_t offset) { return static_cast<uint16_t>(Little(offset, 2)); }
    uint32_t U32(size_t offset) { return static_cast<uint32_t>(Little(offset, 4)); }

    // A zero-terminated name of at most NAME_MAX characters.
    std::string Name(size_t offset)
    {
        std::string name;
        for (size_t i = 0; i <= NAME_MAX; ++i) {
            if (!Fits(offset + i, 1))
                break;
            if (Bytes[offset + i] == 0)
                return name;
            name += static_cast<char>(Bytes[offset + i]);
        }
        Failure = true;
        return std::string();
    }

private:
    bool Fits(size_t offset, size_t count) const { return offset <= Bytes.size() && count <= Bytes.size() - offset; }

    uint64_t Little(size_t offset, size_t count)
    {
        if (Failure || !Fits(offset, count)) {
            Failure = true;
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = count; i-- > 0;)
            value = value << 8 | Bytes[offset + i];
        return value;
    }

    std::span<const uint8_t> Bytes;
    bool Failure = false;
};

struct TSection {
    uint32_t VirtualAddress;
    uint32_t Extent; // the larger of its size in memory and in the file
    uint32_t RawSize;
    uint32_t RawOffset;
};

// The file offset of an address of the loaded image, or SIZE_MAX when no section's bytes in
// the file hold it.
size_t FileOffset(const std::vector<TSection>& sections, uint32_t rva, size_t fileSize)
{
    for (const TSection& section : sections) {
        const uint32_t into = rva - section.VirtualAddress;
        if (rva < section.VirtualAddress || into >= section.Extent || into >= section.RawSize)
            continue;
        const uint64_t offset = uint64_t{section.RawOffset} + into;
        return offset < fileSize ? static_cast<size_t>(offset) : SIZE_MAX;
    }
    return SIZE_MAX;
}

// The file as the tables see it: its reader, its sections, its size.
struct TImage {
    TReader& Reader;
    const std::vector<TSection>& Sections;
    size_t Size;

    size_t At(uint32_t rva) const { return FileOffset(Sections, rva, Size); }
    // A name at an address of the image; empty when it lies outside the file or is not one.
    std::string NameAt(uint32_t rva) const
    {
        const size_t offset = At(rva);
        return offset == SIZE_MAX ? std::string() : Reader.Name(offset);
    }
};

// The names the export directory at the address lists; false when it is damaged.
bool ReadExports(const TImage& image, uint32_t rva, std::vector<std::string>& names)
{
    if (rva == 0)
        return true; // a library that exports nothing
    const size_t exports = image.At(rva);
    if (exports == SIZE_MAX)
        return false;
    const uint32_t nameCount = image.Reader.U32(exports + 24);
    const size_t table = image.At(image.Reader.U32(exports + 32));
    // Each name takes four bytes of the table, so a count the file cannot hold is refused
    // before the loop rather than read a few billion times.
    if (image.Reader.Failed() || nameCount > image.Size / 4 || (nameCount > 0 && table == SIZE_MAX))
        return false;
    for (uint32_t i = 0; i < nameCount; ++i) {
        const std::string name = image.NameAt(image.Reader.U32(table + size_t{4} * i));
        if (name.empty() || image.Reader.Failed())
            return false;
        names.push_back(name);
    }
    return true;
}

// The library names of an import or delay-import directory: descriptors of the size, each with
// the address of its library's name at nameField, up to one whose name address is 0. A delay
// descriptor of the oldest linkers (its attribute bit 0 clear) holds addresses of the loaded
// image, not offsets into it: those take the image base off.
bool ReadLibraryNames(const TImage& image, uint32_t rva, size_t size, size_t nameField, uint64_t imageBase,
                      std::vector<std::string>& names)
{
    if (rva == 0)
        return true;
    const size_t table = image.At(rva);
    if (table == SIZE_MAX)
        return false;
    for (size_t at = table;; at += size) {
        if (names.size() > image.Size / size)
            return false; // more descriptors than the file can hold: no terminator
        uint32_t name = image.Reader.U32(at + nameField);
        if (image.Reader.Failed())
            return false;
        if (name == 0)
            return true;
        if (imageBase != 0 && !(image.Reader.U32(at) & DELAY_RVA_BASED))
            name = static_cast<uint32_t>(name - imageBase);
        const std::string text = image.NameAt(name);
        if (text.empty() || image.Reader.Failed())
            return false;
        names.push_back(text);
    }
}

} // namespace

TPeExports ReadPeExports(std::span<const uint8_t> file)
{
    TPeExports result;
    TReader reader(file);
    const uint32_t peHeader = reader.U32(0x3C);
    if (reader.U16(0) != DOS_SIGNATURE || reader.U32(peHeader) != PE_SIGNATURE || reader.Failed()) {
        result.Failure = "not a Windows library file";
        return result;
    }
    const size_t fileHeader = static_cast<size_t>(peHeader) + 4;
    result.Machine = reader.U16(fileHeader);
    const uint16_t sectionCount = reader.U16(fileHeader + 2);
    const uint16_t optionalSize = reader.U16(fileHeader + 16);
    const uint16_t characteristics = reader.U16(fileHeader + 18);
    const size_t optional = fileHeader + 20;
    const uint16_t magic = reader.U16(optional);
    // The data directories follow the fields whose width differs between 32- and 64-bit images.
    const size_t directories = optional + (magic == OPTIONAL_PE32_PLUS ? 112 : 96);
    const uint32_t directoryCount = reader.U32(directories - 4);
    if (reader.Failed() || (magic != OPTIONAL_PE32 && magic != OPTIONAL_PE32_PLUS)) {
        result.Failure = "damaged headers";
        return result;
    }
    if (!(characteristics & FILE_IS_DLL)) {
        result.Failure = "a program, not a library";
        return result;
    }

    std::vector<TSection> sections;
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = optional + optionalSize + i * SECTION_HEADER_SIZE;
        const uint32_t virtualSize = reader.U32(at + 8);
        const uint32_t rawSize = reader.U32(at + 16);
        sections.push_back({reader.U32(at + 12), virtualSize > rawSize ? virtualSize : rawSize, rawSize,
                            reader.U32(at + 20)});
    }
    const uint64_t imageBase = magic == OPTIONAL_PE32_PLUS ? uint64_t{reader.U32(optional + 24)} |
                                                                 uint64_t{reader.U32(optional + 28)} << 32
                                                           : reader.U32(optional + 28);
    auto directory = [&](uint32_t index) { return directoryCount > index ? reader.U32(directories + 8 * index) : 0; };
    const uint32_t exportRva = directory(DIRECTORY_EXPORT);
    const uint32_t importRva = directory(DIRECTORY_IMPORT);
    const uint32_t delayRva = directory(DIRECTORY_DELAY_IMPORT);
    if (reader.Failed()) {
        result.Failure = "damaged section table";
        return result;
    }
    const TImage image{reader, sections, file.size()};
    if (!ReadExports(image, exportRva, result.Names))
        result.Failure = "damaged export table";
    else if (!ReadLibraryNames(image, importRva, IMPORT_DESCRIPTOR_SIZE, 12, 0, result.Imports))
        result.Failure = "damaged import table";
    else if (!ReadLibraryNames(image, delayRva, DELAY_DESCRIPTOR_SIZE, 4, imageBase, result.DelayImports))
        result.Failure = "damaged delay-import table";
    if (!result.Failure.empty()) {
        result.Names.clear();
        result.Imports.clear();
        result.DelayImports.clear();
    }
    return result;
}

std::string MachineName(uint16_t machine)
{
    switch (machine) {
    case PE_MACHINE_I386: return "i386";
    case PE_MACHINE_AMD64: return "amd64";
    case 0xAA64: return "arm64";
    default: {
        char hex[16];
        std::snprintf(hex, sizeof hex, "machine %04X", machine);
        return hex;
    }
    }
}
