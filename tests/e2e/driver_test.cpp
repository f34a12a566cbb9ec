// The driver's own logic, apart from any window: the script language and its names, the checks
// made before a script runs and the picture files. A fault here would make e2e tests pass or
// fail for the wrong reason, so each piece is held to what it promises.
#include "Commands.h"
#include "Names.h"
#include "Picture.h"
#include "Script.h"

#include <gtest/gtest.h>
#include <zlib.h>

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
    auto commands = ParseScript("# header\r\n\r\nstart a app\r\nwait-trace \"x\r\nclose  \n", {}, errors);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Line, 3);
    EXPECT_EQ(commands[0].Name, "start");
    EXPECT_EQ(commands[0].Source, "start a app");
    EXPECT_EQ(commands[1].Line, 5);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Line, 4);

    std::vector<ScriptError> checks;
    CheckScript(ParseScript("clik ButtonExit\nwait-exit 0 1\nexpect-trace\ntimeout 5\n", {}, errors), checks);
    ASSERT_EQ(checks.size(), 3u);
    EXPECT_EQ(checks[0].Line, 1);
    EXPECT_EQ(checks[0].Message, "unknown command clik");
    EXPECT_EQ(checks[1].Line, 2);
    EXPECT_EQ(checks[1].Message, "usage: wait-exit <code>");
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
}

TEST(ScriptNames, RegionsTextsCasesAndDefinitionsAreFilledInAndUnknownNamesRefused)
{
    std::vector<ScriptError> errors;
    std::map<std::string, std::string> names = BuiltInNames();
    names["HOW"] = "keys";
    auto commands = ParseScript("expect-colour-in ${StatusPanel} FF0000\n"
                                "define Next '^(status|box)'\n"
                                "expect-next-trace ${Next} 'box Warning [OK] \"${NotFound}\"'\n"
                                "close-by ${HOW}\n",
                                names, errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].Source, "expect-colour-in 0 581 506 19 FF0000");
    EXPECT_EQ(commands[1].Line, 3);
    EXPECT_EQ(commands[1].Source, "expect-next-trace '^(status|box)' 'box Warning [OK] \"Failed to find KV7.\\nPlease make "
                                  "sure:\\n1. KV7 and PC are connected by an USB cable.\\n2. KV7 is power on.\"'");
    EXPECT_EQ(commands[2].Source, "close-by keys");
    EXPECT_EQ(BuiltInNames().at("ShapeOrbaC"), "112 336 28 217");

    ParseScript("wait-trace ${Nowhere}\ndefine StatusPanel 1 2 3 4\ndefine 2x y\n", BuiltInNames(), errors);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].Line, 1);
    EXPECT_EQ(errors[0].Message, "unknown name ${Nowhere}");
    EXPECT_EQ(errors[1].Message, "the name StatusPanel is taken");
    EXPECT_EQ(errors[2].Message, "usage: define <Name> <text>");
}

TEST(Pictures, PngChunksCarryTheirChecksumsAndTheRowsInflateBack)
{
    Image image = Checkerboard(200, 120);
    std::string png = EncodePng(image);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::vector<std::string> types;
    std::string header, compressed;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = Big32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        const std::string type = png.substr(at + 4, 4), data = png.substr(at + 8, length);
        EXPECT_EQ(Big32(png, at + 8 + length), crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4))
            << type;
        types.push_back(type);
        (type == "IHDR" ? header : compressed) += data;
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(header, std::string("\0\0\0\xC8\0\0\0\x78\x08\x02\0\0\0", 13)); // 200 x 120, 8-bit RGB

    std::string rows(120 * (1 + 200 * 3), '\x7F');
    uLongf size = static_cast<uLongf>(rows.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &size,
                         reinterpret_cast<const Bytef*>(compressed.data()), static_cast<uLong>(compressed.size())),
              Z_OK);
    ASSERT_EQ(size, rows.size());
    for (int y = 0; y < 120; ++y) {
        EXPECT_EQ(rows[y * 601], '\0') << "row " << y << " has no filter";
        ASSERT_EQ(rows.compare(y * 601 + 1, 600, reinterpret_cast<const char*>(&image.Rgb[y * 600]), 600), 0) << y;
    }
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
