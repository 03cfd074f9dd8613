#include <gtest/gtest.h>

#include <array>
#include <string>

#include "component/mime/base64_decoder.h"
#include "component/mime/binhex_decoder.h"
#include "component/mime/transfer_decoder.h"

namespace component::mime {
namespace {

// The same input fed whole and in slices of several sizes must decode alike.
constexpr std::array<std::size_t, 6> kChunks = {1, 2, 3, 7, 512, 1 << 20};

std::string decode_in_chunks(AttachmentEncodingsEnum enc, std::string_view in, std::size_t chunk,
                             DecodeError* error = nullptr) {
    std::string out;
    const DecodeError e = decode_stream(
        enc, in, [&out](std::string_view s) { out.append(s); }, chunk);
    if (error != nullptr) *error = e;
    return out;
}

struct DecoderCase {
    const char* name;
    std::string_view in;
    std::string_view out;
};

void expect_decodes(AttachmentEncodingsEnum enc, const DecoderCase& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decode_all(enc, c.in), c.out);
    for (const std::size_t chunk : kChunks) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(decode_in_chunks(enc, c.in, chunk), c.out);
    }
}

TEST(Base64Decoder, DecodesByTheGroupRule) {
    const DecoderCase cases[] = {
        {"RFC 4648 foobar", "Zm9vYmFy", "foobar"},
        {"padding two", "Zm9vYg==", "foob"},
        {"padding one", "Zm9vYmE=", "fooba"},
        {"two characters without padding", "QQ", "A"},
        {"padding ends decoding", "QQ==QUJD", "A"},
        {"single character gives nothing", "Q", ""},
        {"line ends skipped", "QU\r\nJD\r\nRA==\r\n", "ABCD"},
        {"blanks and tabs skipped", "QU JD\tRA==", "ABCD"},
        {"other character stops after its group", "QUJD*QUJD", "ABC"},
        {"stop inside a group keeps whole bytes", "QUJDQU*JD", "ABCA"},
        {"all 64 values",
         "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+P0BB",
         std::string_view(
             "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14"
             "\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f !\"#$%&'()*+,-./0123456789:;<=>?@A",
             66)},
        {"plus and slash", "+/+/", "\xfb\xff\xbf"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) expect_decodes(encBASE64, c);
}

TEST(Base64Decoder, LongBodyMatchesAcrossChunkEdges) {
    std::string raw;
    for (int i = 0; i < 5000; ++i) raw.push_back(static_cast<char>(i * 7 + i / 13));
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i + 3 <= raw.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(raw[i]) << 16) |
                           (static_cast<unsigned char>(raw[i + 1]) << 8) |
                           static_cast<unsigned char>(raw[i + 2]);
        for (int k = 3; k >= 0; --k) text.push_back(kAlphabet[(v >> (6 * k)) & 63]);
        if (i % 57 == 54) text += "\r\n";
    }
    raw.resize(raw.size() / 3 * 3);
    expect_decodes(encBASE64, {"5000 bytes in 76-column lines", text, raw});
}

TEST(QuotedPrintableDecoder, DecodesEscapesAndSoftBreaks) {
    const DecoderCase cases[] = {
        {"equals sign", "=3D", "="},
        {"two letters", "=41=42", "AB"},
        {"lower-case hex", "=4a", "J"},
        {"soft line break", "a=\r\nb", "ab"},
        {"soft line break with bare LF", "a=\nb", "ab"},
        {"hard line breaks kept", "line\r\nnext\r\n", "line\r\nnext\r\n"},
        {"underscore stays", "a_b", "a_b"},
        {"8-bit byte", "caf=E9", "caf\xE9"},
        {"not hex kept literally", "x=ZZy", "x=ZZy"},
        {"double equals", "==41", "=A"},
        {"equals at the end is a soft break", "abc=", "abc"},
        {"half pair at the end kept", "abc=4", "abc=4"},
        {"escape then text", "=3Dx=3D", "=x="},
    };
    for (const auto& c : cases) expect_decodes(encQUOTEDPRINTABLE, c);
}

TEST(UuDecoder, DecodesBetweenBeginAndEnd) {
    const DecoderCase cases[] = {
        {"three bytes", "begin 644 cat.txt\n#0V%T\n`\nend\n", "Cat"},
        {"CR LF lines", "begin 644 cat.txt\r\n#0V%T\r\n`\r\nend\r\n", "Cat"},
        {"two lines",
         "begin 644 x\nM2&5L;&\\L(%=O<FQD(2!4:&ES(&ES(&$@;&]N9V5R(&QI;F4@;V8@554@=&5X\n\"=\"X \n \nend\n",
         "Hello, World! This is a longer line of UU text."},
        {"text before begin skipped", "hello\nthere\nbegin 600 f\n#0V%T\nend\n", "Cat"},
        {"checksum character after the count ignored", "begin 644 x\n#0V%TM\nend\n", "Cat"},
        {"nothing after end", "begin 644 x\n#0V%T\nend\n#0V%T\n", "Cat"},
        {"earlier line with begin starts too early", "the beginning\nbegin 644 x\n#0V%T\nend\n", "\x14rCat"},
        {"missing end still decodes", "begin 644 x\n#0V%T\n", "Cat"},
        {"no begin", "#0V%T\n", ""},
    };
    for (const auto& c : cases) expect_decodes(encUUENCODE, c);
}

TEST(UuDecoder, ReportsMissingBegin) {
    DecodeError e = DecodeError::none;
    decode_in_chunks(encUUENCODE, "no uu here\n", 3, &e);
    EXPECT_EQ(e, DecodeError::no_data);
    decode_in_chunks(encUUENCODE, "begin 644 x\n#0V%T\nend\n", 3, &e);
    EXPECT_EQ(e, DecodeError::none);
}

TEST(CopyDecoder, SevenBitIsCopiedAndUnknownIsRefused) {
    expect_decodes(enc7BIT, {"bytes as they are", "a=3D\r\n_\xff", "a=3D\r\n_\xff"});
    EXPECT_EQ(make_decoder(encUNKNOWN), nullptr);
    EXPECT_EQ(make_decoder(static_cast<AttachmentEncodingsEnum>(9)), nullptr);
    DecodeError e = DecodeError::none;
    EXPECT_EQ(decode_in_chunks(encUNKNOWN, "abc", 1, &e), "");
    EXPECT_EQ(e, DecodeError::no_data);
}

}  // namespace
}  // namespace component::mime
