#include "extract/password_list.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Split(const std::string& bytes)
{
    std::vector<std::string> candidates;
    SplitPasswordCandidates(bytes.data(), static_cast<int>(bytes.size()), [](void* context, const char* candidate) {
        static_cast<std::vector<std::string>*>(context)->push_back(candidate);
    }, &candidates);
    return candidates;
}

}  // namespace

TEST(PasswordList, ControlBytesSeparateAndBlanksBelong)
{
    using namespace std::string_literals;
    typedef std::vector<std::string> List;
    EXPECT_EQ((List{"first", "sec ond", "third"}), Split("first\r\n\r\nsec ond\tthird"));
    EXPECT_EQ((List{"a", "b"}), Split("a\x01" "b\x1F"));
    EXPECT_EQ((List{"before"}), Split("before\0after"s)) << "a zero byte ends the list";
    EXPECT_EQ((List{"\x83\x70\x83\x58"}), Split("\x83\x70\x83\x58\n"));
    EXPECT_EQ(List{}, Split(""));
    const std::string big = std::string(2040, 'x') + "\nabcdefghij";
    EXPECT_EQ((List{std::string(2040, 'x'), "abcdefg"}), Split(big)) << "only the first 2048 bytes count";
}
