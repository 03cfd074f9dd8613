#include "component/mime/binhex_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace component::mime {
namespace {

// Builds BinHex 4.0 text the way an encoder does: header, forks and CRCs,
// run-length coding with 0x90, 6-bit characters, 64-column lines.
struct BinHexFile {
    std::string name = "hello.txt";
    std::string data;
    std::string resource;
    bool break_header_crc = false;
    bool break_data_crc = false;
};

void put_be32(std::string& s, std::uint32_t v) {
    for (int k = 3; k >= 0; --k) s.push_back(static_cast<char>(v >> (8 * k)));
}

void put_crc(std::string& s, std::string_view covered, bool broken) {
    std::uint16_t crc = crc16_xmodem(0, covered);
    if (broken) crc ^= 1;
    s.push_back(static_cast<char>(crc >> 8));
    s.push_back(static_cast<char>(crc));
}

std::string encode_binhex(const BinHexFile& f) {
    std::string header;
    header.push_back(static_cast<char>(f.name.size()));
    header += f.name;
    header.push_back('\0');
    header += "TEXTttxt";
    header += std::string(2, '\0');
    put_be32(header, static_cast<std::uint32_t>(f.data.size()));
    put_be32(header, static_cast<std::uint32_t>(f.resource.size()));
    std::string stream = header;
    put_crc(stream, header, f.break_header_crc);
    stream += f.data;
    put_crc(stream, f.data, f.break_data_crc);
    stream += f.resource;
    put_crc(stream, f.resource, false);

    std::string rle;
    for (std::size_t i = 0; i < stream.size();) {
        const char b = stream[i];
        std::size_t run = 1;
        while (i + run < stream.size() && stream[i + run] == b && run < 255) ++run;
        rle.push_back(b);
        if (b == '\x90') rle.push_back('\0');
        if (run >= 3) {
            rle.push_back('\x90');
            rle.push_back(static_cast<char>(run));
            i += run;
        } else {
            i += 1;
        }
    }
    static constexpr char kAlphabet[] = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";
    std::string text = "(This file must be converted with BinHex 4.0)\r\n:";
    std::uint32_t bits = 0;
    int nbits = 0;
    int column = 1;
    auto put = [&](unsigned v) {
        text.push_back(kAlphabet[v & 63]);
        if (++column == 64) {
            text += "\r\n";
            column = 0;
        }
    };
    for (const char c : rle) {
        bits = (bits << 8) | static_cast<unsigned char>(c);
        nbits += 8;
        while (nbits >= 6) {
            nbits -= 6;
            put(bits >> nbits);
        }
    }
    if (nbits > 0) put(bits << (6 - nbits));
    text += ":\r\n";
    return text;
}

struct Decoded {
    std::string out;
    DecodeError error;
    std::string name;
};

Decoded decode(std::string_view text, std::size_t chunk) {
    BinHexDecoder d;
    Decoded r;
    for (std::size_t i = 0; i < text.size(); i += chunk) d.feed(text.substr(i, chunk), r.out);
    r.error = d.finish(r.out);
    r.name = d.file_name();
    return r;
}

TEST(Crc16Xmodem, MatchesTheCatalogueCheckValue) {
    EXPECT_EQ(crc16_xmodem(0, "123456789"), 0x31C3);
    EXPECT_EQ(crc16_xmodem(0, ""), 0);
}

TEST(BinHexDecoder, DecodesTheDataForkWithChecks) {
    std::string runs = "start";
    runs += std::string(300, 'A');
    runs += "\x90\x90\x90 mid \x90";
    runs += std::string(2, 'B');
    runs += std::string(256, '\0');
    const struct {
        const char* name;
        BinHexFile file;
        std::string expected;
        DecodeError error;
    } cases[] = {
        {"plain data",
         {"hello.txt", "Hello, BinHex!", "", false, false},
         "Hello, BinHex!",
         DecodeError::none},
        {"runs and 0x90 bytes", {"runs.bin", runs, "", false, false}, runs, DecodeError::none},
        {"resource fork is checked but not written",
         {"r", "data", "resource", false, false},
         "data",
         DecodeError::none},
        {"empty data fork", {"e", "", "rsrc", false, false}, "", DecodeError::none},
        {"header CRC mismatch", {"h", "data", "", true, false}, "", DecodeError::header_crc},
        {"data CRC mismatch", {"d", "data", "", false, true}, "data", DecodeError::data_crc},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = encode_binhex(c.file);
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::size_t{64}, text.size()}) {
            SCOPED_TRACE(chunk);
            const Decoded d = decode(text, chunk);
            EXPECT_EQ(d.out, c.expected);
            EXPECT_EQ(d.error, c.error);
            if (c.error == DecodeError::none) {
                EXPECT_EQ(d.name, c.file.name);
            }
        }
    }
}

TEST(BinHexDecoder, ReportsTruncatedAndMissingText) {
    const std::string text = encode_binhex({"t.txt", std::string(500, 'x') + "yz", "", false, false});
    const Decoded cut = decode(text.substr(0, text.size() / 2), 7);
    EXPECT_EQ(cut.error, DecodeError::truncated);
    EXPECT_EQ(decode("no colon in this text", 3).error, DecodeError::no_data);
    EXPECT_EQ(decode(":", 1).error, DecodeError::truncated);
    // A name length of 0 is not a BinHex header.
    EXPECT_EQ(decode(":!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!:", 4).error, DecodeError::bad_header);
}

}  // namespace
}  // namespace component::mime
