// The stream a GET's body is read into and then taken out of: the content as written, its bound,
// and memory that follows what arrived rather than what was announced.
#include "http/EIdException.h"
#include "http/TIdStringStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void receive(TIdStringStream& s, const std::string& bytes) {
    std::size_t room = 0;
    char* p = s.PrepareDirect(bytes.size(), room);
    ASSERT_NE(p, nullptr);
    ASSERT_GE(room, bytes.size());
    std::memcpy(p, bytes.data(), bytes.size());
    s.CommitDirect(bytes.size());
}

} // namespace

TEST(TIdStringStream, ContentFollowsWritesReceivesAndPositions) {
    TIdStringStream s;
    s.Write("hello", 5);
    receive(s, " world");
    EXPECT_EQ(s.Data(), "hello world");
    // A redirect starts the body again where it began.
    s.SetPosition(0);
    s.SetSize(0);
    s.Write("ab", 2);
    s.SetPosition(4);
    s.Write("cd", 2);
    EXPECT_EQ(s.Data(), std::string("ab\0\0cd", 6));
    s.SetPosition(1);
    s.Write("X", 1);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.Take(), std::string("aX\0\0cd", 6));
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TIdStringStream, ABoundStopsTheBodyAndLeavesTheContent) {
    TIdStringStream s;
    s.SetMaxSize(8);
    s.Write("12345", 5);
    EXPECT_THROW(s.Write("6789", 4), EIdContentTooLarge);
    EXPECT_EQ(s.Data(), "12345");
    std::size_t room = 0;
    ASSERT_NE(s.PrepareDirect(100, room), nullptr);
    EXPECT_EQ(room, 3u); // never room past the bound
    s.CommitDirect(0);
    EXPECT_EQ(s.Data(), "12345");
}

TEST(TIdStringStream, AnAnnouncedSizeIsBelievedOnlyAsItsBytesArrive) {
    TIdStringStream s;
    s.ExpectSize(std::int64_t{1} << 30);
    s.Write("0123456789", 10);
    EXPECT_LE(s.Capacity(), std::size_t{128} << 10);

    // Once a share of a body has come, storage goes to its whole length in one step, and the
    // content never moves again.
    constexpr std::size_t kBody = std::size_t{8} << 20;
    TIdStringStream body;
    body.ExpectSize(kBody);
    const std::string piece(32768, 'x');
    while (body.Size() < static_cast<std::int64_t>(kBody / TIdStringStream::kExpectedShare))
        receive(body, piece);
    receive(body, piece);
    const char* settled = body.Data().data();
    EXPECT_GE(body.Capacity(), kBody);
    while (body.Size() < static_cast<std::int64_t>(kBody))
        receive(body, piece);
    EXPECT_EQ(body.Data().data(), settled);
    EXPECT_EQ(body.Take().size(), kBody);
}

TEST(TIdStringStream, ABigBodyKeepsEveryByteAcrossMovesAndResidentSteps) {
    // Past a MiB the storage is made resident ahead of the bytes, a few MiB at a time: the
    // content must not notice, whether pieces come by receive or by write, and across moves.
    TIdStringStream s;
    std::string expected;
    std::size_t piece = 1;
    for (int i = 0; expected.size() < (12u << 20); ++i) {
        std::string bytes(piece, static_cast<char>('a' + i % 26));
        if (i % 3 == 0)
            s.Write(bytes.data(), bytes.size());
        else
            receive(s, bytes);
        expected += bytes;
        if (i == 40)
            s.ExpectSize(16 << 20); // a length learnt half-way moves the storage once more
        piece = piece * 3 % 1000003 + 1;
    }
    EXPECT_EQ(s.Data().size(), expected.size());
    EXPECT_TRUE(s.Data() == expected);
    EXPECT_TRUE(s.Take() == expected);
}
