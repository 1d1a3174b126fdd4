// The byte FIFO under every read and write: growth, compaction, search and its errors.
#include "http/EIdException.h"
#include "http/TIdBuffer.h"

#include <gtest/gtest.h>

TEST(TIdBuffer, AppendTakeAndSearchKeepOrder) {
    TIdBuffer b;
    b.Write("hello ");
    b.Write("world\r\n");
    EXPECT_EQ(b.Size(), 13);
    EXPECT_EQ(b.IndexOf("\n"), 12);
    EXPECT_EQ(b.IndexOf("o", 5), 7);
    EXPECT_EQ(b.IndexOf("zz"), -1);
    EXPECT_EQ(b.Extract(6), "hello ");
    EXPECT_EQ(b.IndexOf("\n"), 6); // relative to the head after taking
    b.Write("more");
    EXPECT_EQ(std::string(b.Data(), b.Size()), "world\r\nmore");
    b.Remove(b.Size());
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.ArrayLength(), 0);
}

TEST(TIdBuffer, GrowsBySizePlusNeedPlusSlackAndCompactsPastTheSlack) {
    TIdBuffer b;
    b.Write(std::string(10, 'a'));
    EXPECT_EQ(b.ArrayLength(), 10); // an empty buffer takes the bytes as they are
    b.Write(std::string(5, 'b'));
    EXPECT_EQ(b.ArrayLength(), 10 + 5 + 2048);
    b.Write(std::string(5000, 'c'));
    EXPECT_EQ(b.ArrayLength(), 15 + 5000 + 2048);
    // Taking less than the slack only moves the head.
    b.Remove(2000);
    EXPECT_EQ(b.ArrayLength(), 15 + 5000 + 2048);
    // Past 2048 consumed bytes the content moves to the start and the array shrinks.
    b.Remove(100);
    EXPECT_EQ(b.Size(), 5015 - 2100);
    EXPECT_EQ(b.ArrayLength(), b.Size() + 2048);
    EXPECT_EQ(b[0], 'c');
    EXPECT_EQ(b[b.Size() - 1], 'c');
}

TEST(TIdBuffer, ManySmallPiecesStayIntact) {
    TIdBuffer b;
    std::string expected;
    std::string taken;
    for (int i = 0; i < 20000; ++i) {
        std::string piece = std::to_string(i) + ",";
        b.Write(piece);
        expected += piece;
        if (i % 3 == 0)
            b.ExtractToBytes(taken, b.Size() / 2);
    }
    b.ExtractToBytes(taken, b.Size());
    EXPECT_EQ(taken, expected);
}

TEST(TIdBuffer, ErrorsCarryTheirMessages) {
    TIdBuffer b;
    b.Write("abc");
    try {
        b.Extract(5);
        FAIL();
    } catch (const EIdNotEnoughDataInBuffer& e) {
        EXPECT_EQ(e.Message(), "Not enough data in buffer. (5/3)");
    }
    try {
        b.IndexOf("");
        FAIL();
    } catch (const EIdException& e) {
        EXPECT_EQ(e.Message(), "Buffer terminator must be specified.");
    }
    try {
        b.IndexOf("a", 4);
        FAIL();
    } catch (const EIdException& e) {
        EXPECT_EQ(e.Message(), "Buffer start position is invalid.");
    }
    EXPECT_THROW(b.IndexOf("a", -1), EIdException);
    EXPECT_EQ(b.IndexOf("a", 3), -1); // the end itself is a valid, empty, search range
    EXPECT_EQ(b.Size(), 3);           // failed takes change nothing
}

TEST(TIdBuffer, RefusesMoreThanTwoGigabytes) {
    TIdBuffer b;
    b.Write("x");
    try {
        b.PrepareWrite(static_cast<std::size_t>(TIdBuffer::kMaxSize));
        FAIL();
    } catch (const EIdTooMuchDataInBuffer& e) {
        EXPECT_EQ(e.Message(), "Too much data in buffer.");
    }
    EXPECT_EQ(b.Size(), 1);
}
