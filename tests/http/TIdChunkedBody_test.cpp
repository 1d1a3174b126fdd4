// The chunked-body decoder on bytes in memory, handed over whole and one byte per receive: what
// it keeps, what it refuses, and that it stops exactly at the body's end.
#include "http/EIdException.h"
#include "http/TIdChunkedBody.h"
#include "http/TIdIOHandlerMemory.h"
#include "http/TIdMemoryStream.h"

#include <gtest/gtest.h>

namespace {

struct Decoded {
    std::string body;
    std::string error; // the exception's class name, empty on success
    std::string message;
    std::string rest; // what the connection still holds after the body
};

class ChunkedBody : public testing::TestWithParam<std::size_t> {
protected:
    Decoded decode(const std::string& input, int maxLineLength = 16384, int trailerLineLimit = 255) {
        TIdIOHandlerMemory io(input, GetParam());
        io.Open();
        TIdMemoryStream out;
        Decoded d;
        try {
            TIdChunkedBody(maxLineLength, trailerLineLimit).Read(io, out);
            TIdMemoryStream rest;
            io.ReadStream(rest, -1, true);
            d.rest = rest.ToString();
        } catch (const EIdException& e) {
            d.error = e.ClassName();
            d.message = e.Message();
        }
        d.body = out.ToString();
        return d;
    }
};

std::string pieceName(const testing::TestParamInfo<std::size_t>& info) {
    return info.param == 0 ? "Whole" : "BytePerReceive";
}

} // namespace

TEST_P(ChunkedBody, DecodesUpToTheBodysEndAndLeavesWhatFollows) {
    const std::string big(100000, 'b');
    const struct {
        std::string input;
        std::string body;
    } cases[] = {
        {"5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n", "hello world"},
        {"0\r\n\r\n", ""},
        {"0003;x=1\r\nabc\r\nA;y=\"2\"\r\n0123456789\r\n0;last\r\n\r\n", "abc0123456789"},
        {"  5 ; padded\r\nhello\r\n0 \r\n\r\n", "hello"},
        {"1\r\nx\r\n0\r\nX-A: 1\r\nX-B: 2\r\n\r\n", "x"},
        {"5\nhello\n0\n\n", "hello"},
        {"5\r\nhello\n0\r\n\n", "hello"},
        {"186a0\r\n" + big + "\r\n0\r\n\r\n", big},
    };
    for (const auto& c : cases) {
        Decoded d = decode(c.input + "HTTP/1.1 200 OK\r\n");
        EXPECT_EQ(d.error, "") << c.input.substr(0, 40);
        EXPECT_EQ(d.body, c.body) << c.input.substr(0, 40);
        EXPECT_EQ(d.rest, "HTTP/1.1 200 OK\r\n") << c.input.substr(0, 40);
    }
}

TEST_P(ChunkedBody, AnythingButALineEndAfterTheDataFails) {
    // A size that is too small leaves the rest of the data where the line end should be.
    for (const std::string input : {"5\r\nhelloX\r\n0\r\n\r\n", "5\r\nhello\rX\n0\r\n\r\n",
                                    "5\r\nhello \r\n0\r\n\r\n", "3\r\nhello\r\n0\r\n\r\n"}) {
        Decoded d = decode(input);
        EXPECT_EQ(d.error, "EIdHTTPMalformedResponse") << input;
    }
    EXPECT_EQ(decode("3\r\nhello\r\n0\r\n\r\n").body, "hel");
    EXPECT_EQ(decode("3\r\nhello\r\n0\r\n\r\n").message,
              "A chunk's data is not followed by a line end in a chunked body.");
}

TEST_P(ChunkedBody, SizesThatAreNotNumbersOrTooLargeFail) {
    for (const std::string size : {"zz", "", "-5", "+5", "0x5", "80000000", "100000005", ";ext"}) {
        Decoded d = decode(size + "\r\nhello\r\n0\r\n\r\n");
        EXPECT_EQ(d.error, "EIdHTTPMalformedResponse") << size;
        EXPECT_EQ(d.body, "") << size;
    }
    EXPECT_EQ(decode("zz\x1b[2J\r\n").message, "Invalid chunk size \"zz?[2J\" in a chunked body.");
}

TEST_P(ChunkedBody, ACloseBeforeTheEndFails) {
    for (const std::string input :
         {"", "5", "5\r\nhel", "5\r\nhello", "5\r\nhello\r", "5\r\nhello\r\n", "5\r\nhello\r\n0\r\n",
          "5\r\nhello\r\n0\r\nX-T: 1\r\n", "5\r\nhello\r\n0\r\n\r"}) {
        EXPECT_EQ(decode(input).error, "EIdConnClosedGracefully") << input;
    }
}

TEST_P(ChunkedBody, LinesAndTrailersAreBounded) {
    EXPECT_EQ(decode(std::string(98, '0') + "5\r\nhello\r\n0\r\n\r\n", 100).body, "hello");
    EXPECT_EQ(decode(std::string(100, '0') + "5\r\nhello\r\n0\r\n\r\n", 100).error,
              "EIdReadLnMaxLineLengthExceeded");
    EXPECT_EQ(decode(std::string(20000, '0')).error, "EIdReadLnMaxLineLengthExceeded");
    EXPECT_EQ(decode("0\r\nA: 1\r\nB: 2\r\n\r\n", 16384, 2).error, "");
    Decoded d = decode("0\r\nA: 1\r\nB: 2\r\nC: 3\r\n\r\n", 16384, 2);
    EXPECT_EQ(d.error, "EIdHTTPHeadTooLarge");
    EXPECT_EQ(d.message, "Chunked body has more than 2 trailer lines.");
}

INSTANTIATE_TEST_SUITE_P(Pieces, ChunkedBody, testing::Values(std::size_t{0}, std::size_t{1}), pieceName);
