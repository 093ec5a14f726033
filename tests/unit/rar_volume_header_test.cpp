#include "volumes/rar_volume_header.h"

#include <string>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

int Naming(const std::string& bytes)
{
    return RarNamingOf(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

const std::string kRar5 = "Rar!\x1A\x07\x01\x00"s;
const std::string kRar4 = "Rar!\x1A\x07\x00"s;

}  // namespace

TEST(RarVolumeHeader, NamingComesFromTheMainHeader)
{
    struct Case { std::string bytes; int naming; };
    const Case cases[] = {
        // RAR 5: CRC32, size, type 1 (main), header flags, archive flags (1 = volume).
        {kRar5 + "\x11\x22\x33\x44" "\x06\x01\x00\x01"s, kRarNamingInName},
        {kRar5 + "\x11\x22\x33\x44" "\x06\x01\x00\x03\x02"s, kRarNamingInName},     // a later volume, numbered
        {kRar5 + "\x11\x22\x33\x44" "\x06\x01\x00\x00"s, kRarNotAVolume},          // a single archive
        {kRar5 + "\x11\x22\x33\x44" "\x06\x01\x01\x05\x01"s, kRarNamingInName},     // with an extra area size
        {kRar5 + "\x11\x22\x33\x44" "\x06\x02\x00\x01"s, kRarNotAVolume},          // not the main header
        // Encrypted headers (type 4 first) hide the main header: the name decides.
        {kRar5 + "\x11\x22\x33\x44" "\x21\x04\x00\x00\x01\x0F"s, kRarNamingInName},
        {kRar5 + "\x11\x22\x33\x44" "\x86"s, kRarNotAVolume},                      // cut inside a number
        {kRar5 + "\x11\x22\x33\x44" "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x01"s, kRarNotAVolume},
        // RAR 4: CRC16, type 0x73, flags (0x0001 volume, 0x0010 new numbering).
        {kRar4 + "\x00\x00\x73\x01\x00\x0D\x00"s, kRarNamingOld},
        {kRar4 + "\x00\x00\x73\x11\x01\x0D\x00"s, kRarNamingInName},
        {kRar4 + "\x00\x00\x73\x00\x00\x0D\x00"s, kRarNotAVolume},
        {kRar4 + "\x00\x00\x74\x01\x00"s, kRarNotAVolume},
        {kRar4 + "\x00\x00\x73\x01"s, kRarNotAVolume},
        {"PK\x03\x04"s, kRarNotAVolume},
        {""s, kRarNotAVolume},
    };
    for (const Case& c : cases) EXPECT_EQ(c.naming, Naming(c.bytes)) << testing::PrintToString(c.bytes);
}

TEST(RarVolumeHeader, PartNumbersAndTheirLabels)
{
    struct Case { const char* name; int number; };
    const Case cases[] = {
        {"movie.part1.rar", 1}, {"movie.part03.rar", 3}, {"Movie.PART12.RAR", 12}, {"movie_part2.rar", 2},
        {"movie.part.rar", 0}, {"movie.part1.r00", 0}, {"movie.rar", 0}, {"part1.rar", 1}, {"art1.rar", 0},
        {"movie.part0.rar", 0}, {"movie.part1.rarx", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.number, PartNumberOf(c.name, nullptr, nullptr)) << c.name;

    char out[64];
    ASSERT_TRUE(WithPartNumber("C:\\dl\\\x95\x5C.part01.rar", 12, out, sizeof out));
    EXPECT_STREQ("C:\\dl\\\x95\x5C.part12.rar", out);
    ASSERT_TRUE(WithPartNumber("C:\\dl\\x.part9.rar", 10, out, sizeof out));
    EXPECT_STREQ("C:\\dl\\x.part10.rar", out);
    EXPECT_FALSE(WithPartNumber("C:\\dl\\x.part9.rar", 10, out, 18)) << "does not fit";
    EXPECT_FALSE(WithPartNumber("C:\\dl\\x.rar", 2, out, sizeof out));
    // Only names that read back as that part.
    ASSERT_TRUE(WithPartNumber("x.part9.rar", 999999, out, sizeof out));
    EXPECT_EQ(999999, PartNumberOf(out, nullptr, nullptr));
    EXPECT_FALSE(WithPartNumber("x.part999999.rar", 1000000, out, sizeof out)) << "seven digits";
    EXPECT_FALSE(WithPartNumber("x.part1.rar", 0, out, sizeof out));

    EXPECT_STREQ("rar", PartLabel(1));
    EXPECT_STREQ("r00", PartLabel(2));
    EXPECT_STREQ("r01", PartLabel(3));
    EXPECT_STREQ("r99", PartLabel(101));
    EXPECT_EQ(nullptr, PartLabel(102));
    EXPECT_EQ(nullptr, PartLabel(0));
}
