// The driver's own logic, apart from any window: the script language, the checks made before a
// script runs, bench editing and the picture files. A fault here would make e2e tests pass or
// fail for the wrong reason, so each piece is held to what it promises.
#include "Commands.h"
#include "Image.h"
#include "Script.h"
#include "Stage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<Token> Words(const std::string& line)
{
    std::vector<Token> tokens;
    std::string error;
    EXPECT_TRUE(Tokenize(line, tokens, error)) << error;
    return tokens;
}

std::string TokenizeError(const std::string& line)
{
    std::vector<Token> tokens;
    std::string error;
    EXPECT_FALSE(Tokenize(line, tokens, error)) << line;
    return error;
}

uint32_t Big32(const std::string& data, size_t at)
{
    return (uint32_t(uint8_t(data[at])) << 24) | (uint32_t(uint8_t(data[at + 1])) << 16) |
           (uint32_t(uint8_t(data[at + 2])) << 8) | uint8_t(data[at + 3]);
}

Image Checkerboard(int width, int height)
{
    Image image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Rgb.push_back(static_cast<uint8_t>(x));
            image.Rgb.push_back(static_cast<uint8_t>(y));
            image.Rgb.push_back(static_cast<uint8_t>((x + y) & 1 ? 0xFF : 0));
        }
    }
    return image;
}


// The other side of the PNG writer, for the codes it uses (one or more blocks of deflate's fixed
// codes, after the two zlib header bytes): a reader written from the format, not from the writer.
std::string InflateFixed(const std::string& zlib)
{
    static const uint16_t LENGTH_BASE[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const uint16_t DISTANCE_BASE[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,   25,
                                             33,   49,   65,   97,   129,  193,   257,   385,   513,  769,
                                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    size_t bit = 16;
    auto next = [&]() -> uint32_t {
        uint32_t value = (uint8_t(zlib.at(bit / 8)) >> (bit % 8)) & 1u;
        ++bit;
        return value;
    };
    auto bits = [&](int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value |= next() << i;
        return value;
    };
    auto code = [&](int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 1) | next();
        return value;
    };
    auto extra = [](int index, int first, int step) { return index < first ? 0 : (index - first) / step + 1; };
    std::string out;
    for (bool last = false; !last;) {
        last = bits(1);
        EXPECT_EQ(bits(2), 1u) << "only fixed codes are written";
        for (;;) {
            uint32_t symbol = code(7);
            if (symbol <= 0x17) {
                symbol += 256;
            } else {
                symbol = (symbol << 1) | next();
                if (symbol >= 0x30 && symbol <= 0xBF)
                    symbol -= 0x30;
                else if (symbol >= 0xC0 && symbol <= 0xC7)
                    symbol = symbol - 0xC0 + 280;
                else
                    symbol = ((symbol << 1) | next()) - 0x190 + 144;
            }
            if (symbol < 256) {
                out += static_cast<char>(symbol);
                continue;
            }
            if (symbol == 256)
                break;
            int index = static_cast<int>(symbol) - 257;
            size_t length = LENGTH_BASE[index] + bits(index == 28 ? 0 : extra(index, 8, 4));
            int distanceCode = static_cast<int>(code(5));
            size_t distance = DISTANCE_BASE[distanceCode] + bits(extra(distanceCode, 4, 2));
            if (distance > out.size()) {
                ADD_FAILURE() << "distance " << distance << " before the start";
                return out;
            }
            for (size_t i = 0; i < length; ++i)
                out += out[out.size() - distance];
        }
    }
    return out;
}

} // namespace

TEST(ScriptWords, QuotesEscapesAndComments)
{
    auto words = Words("expect-box Warning \"Go on?\\nYes\" 'say \"hi\" \\d' \\x41 \"\\x41\\t\"  # the rest is a comment");
    ASSERT_EQ(words.size(), 6u);
    EXPECT_FALSE(words[1].Quoted);
    EXPECT_EQ(words[2].Text, "Go on?\nYes");
    EXPECT_TRUE(words[2].Quoted);
    EXPECT_EQ(words[3].Text, "say \"hi\" \\d"); // single quotes take the text as it stands
    EXPECT_EQ(words[4].Text, "\\x41"); // escapes live only inside quotes
    EXPECT_FALSE(words[4].Quoted);
    EXPECT_EQ(words[5].Text, "A\t");

    EXPECT_TRUE(Words("# a whole-line comment").empty());
    EXPECT_TRUE(Words("   ").empty());
    auto empty = Words("expect-text #107 \"\"");
    ASSERT_EQ(empty.size(), 3u);
    EXPECT_EQ(empty[1].Text, "#107"); // a control number is not a comment
    EXPECT_EQ(empty[2].Text, "");
    EXPECT_TRUE(empty[2].Quoted);
    EXPECT_EQ(Words("click\r").size(), 1u); // a CR LF script reads like an LF one
}

TEST(ScriptWords, MalformedTextsAreRefused)
{
    EXPECT_EQ(TokenizeError("wait-trace \"open"), "unterminated quote");
    EXPECT_EQ(TokenizeError("wait-trace \"ends in \\"), "unterminated quote");
    EXPECT_EQ(TokenizeError("wait-trace \"\\q\""), "unknown escape \\q");
    EXPECT_EQ(TokenizeError("wait-trace \"\\x4\""), "\\x needs two hexadecimal digits");
    EXPECT_EQ(TokenizeError("wait-trace \"a\"b"), "a quoted text must be followed by a blank");
}

TEST(ScriptParse, LinesKeepTheirNumbersAndEveryErrorIsReported)
{
    std::vector<ScriptError> errors;
    auto commands = ParseScript("# header\r\n\r\nstart a app\r\nwait-trace \"x\r\nclose  \n", errors);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Line, 3);
    EXPECT_EQ(commands[0].Name, "start");
    EXPECT_EQ(commands[0].Source, "start a app");
    EXPECT_EQ(commands[1].Line, 5);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Line, 4);

    auto checks = CheckScript(ParseScript("clik ButtonExit\nwait-exit 0 1\nexpect-trace\ntimeout 5\n", errors));
    ASSERT_EQ(checks.size(), 3u);
    EXPECT_EQ(checks[0].Line, 1);
    EXPECT_EQ(checks[0].Message, "unknown command clik");
    EXPECT_EQ(checks[1].Line, 2);
    EXPECT_EQ(checks[1].Message, "usage: wait-exit [code]");
    EXPECT_EQ(checks[2].Line, 3);
}

TEST(ScriptParse, OptionsAndQuotedMessages)
{
    std::string key, value;
    EXPECT_TRUE(SplitOption(Token{"libraries=none", false}, key, value));
    EXPECT_EQ(key, "libraries");
    EXPECT_EQ(value, "none");
    EXPECT_TRUE(SplitOption(Token{"cwd=", false}, key, value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(SplitOption(Token{"a=b", true}, key, value)); // a quoted text is never an option
    EXPECT_FALSE(SplitOption(Token{"=b", false}, key, value));
    EXPECT_EQ(SplitList(" all , no_read,,"), (std::vector<std::string>{"all", "no_read"}));
}

TEST(BenchFile, AKeyIsSetWhereItStandsAndEverythingElseStays)
{
    std::string bench = "# desk 3\r\npowered = yes\r\n# powered = no\r\npowered_late = 5\r\nconfigured = yes\r\n";
    EXPECT_EQ(SetBenchKey(bench, "powered", "no"),
              "# desk 3\r\npowered = no\r\n# powered = no\r\npowered_late = 5\r\nconfigured = yes\r\n");
    EXPECT_EQ(SetBenchKey(bench, "firmware", ""), bench + "firmware = \n");
    EXPECT_EQ(SetBenchKey("cable=yes", "chain", "020B40DD EP3SL150"), "cable=yes\nchain = 020B40DD EP3SL150\n");
    EXPECT_EQ(SetBenchKey("", "powered", "no"), "powered = no\n");
    EXPECT_EQ(SetBenchKey("  powered=yes  ", "powered", "no"), "powered = no");
}

TEST(Pictures, ChecksumsMatchTheirPublishedValues)
{
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(word.data()), word.size()), 0x11E60398u);
}

TEST(Pictures, PngRowsInflateBackAndFlatColourShrinks)
{
    // 200 x 120 pixels, a gradient under a checkerboard of blue: matches near and far, and
    // literals of every byte value.
    Image image = Checkerboard(200, 120);
    std::string png = EncodePng(image);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    ASSERT_EQ(Big32(png, 8), 13u);
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(Big32(png, 16), 200u);
    EXPECT_EQ(Big32(png, 20), 120u);
    EXPECT_EQ(png.substr(24, 5), std::string("\x08\x02\x00\x00\x00", 5));
    EXPECT_EQ(Big32(png, 29), Crc32(reinterpret_cast<const uint8_t*>(png.data() + 12), 17));

    size_t idat = 33;
    ASSERT_EQ(png.substr(idat + 4, 4), "IDAT");
    uint32_t length = Big32(png, idat);
    std::string zlib = png.substr(idat + 8, length);
    EXPECT_EQ(Big32(png, idat + 8 + length), Crc32(reinterpret_cast<const uint8_t*>(png.data() + idat + 4), length + 4));
    EXPECT_EQ(png.substr(idat + 12 + length), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));

    std::string rows = InflateFixed(zlib);
    std::string expected;
    for (int y = 0; y < 120; ++y) {
        expected += '\0';
        expected.append(reinterpret_cast<const char*>(&image.Rgb[y * 600]), 600);
    }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(Big32(zlib, zlib.size() - 4), Adler32(reinterpret_cast<const uint8_t*>(rows.data()), rows.size()));

    Image flat;
    flat.Width = 700;
    flat.Height = 600;
    flat.Rgb.assign(700 * 600 * 3, 0xF0);
    std::string small = EncodePng(flat);
    EXPECT_LT(small.size(), 700u * 600u * 3u / 100u);
    EXPECT_EQ(InflateFixed(small.substr(41, Big32(small, 33))).size(), 600u * (700u * 3u + 1u));
}

TEST(Pictures, BmpRowsArePaddedBottomUpAndBlueFirst)
{
    Image image = Checkerboard(3, 2); // 9 bytes a row, padded to 12
    std::string bmp = EncodeBmp(image);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(bmp[2]), 78);
    // First stored row is the bottom one (y = 1); pixel (0,1) is red 0, green 1, blue FF.
    EXPECT_EQ(uint8_t(bmp[54]), 0xFF);
    EXPECT_EQ(uint8_t(bmp[55]), 1);
    EXPECT_EQ(uint8_t(bmp[56]), 0);
    EXPECT_EQ(bmp.substr(54 + 9, 3), std::string(3, '\0'));
    EXPECT_EQ(image.Pixel(2, 1), 0x0201FFu);
}

TEST(Pictures, ColorsAreSixHexDigits)
{
    uint32_t colour = 0;
    EXPECT_TRUE(ParseColor("00ff80", colour));
    EXPECT_EQ(colour, 0x00FF80u);
    EXPECT_EQ(ColorText(colour), "00FF80");
    EXPECT_FALSE(ParseColor("0000F", colour));
    EXPECT_FALSE(ParseColor(" 0000F", colour));
    EXPECT_FALSE(ParseColor("+0000F", colour));
    EXPECT_FALSE(ParseColor("00000G", colour));
    EXPECT_EQ(ColorDistance(0x102030, 0x112233), 3);
    EXPECT_EQ(ColorDistance(0xFF0000, 0x000000), 255);
}
