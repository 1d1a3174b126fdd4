// Hostile servers against the exchange as a whole: heads and bodies that stall or stop halfway,
// resets at awkward points, interim answers before the real one, bodiless answers that announce a
// body, and framing of the kind used to smuggle one response inside another. Every case ends in
// its documented result or a clear exception, within the client's time-out and memory bounds.
#include "http/EIdException.h"
#include "http/TIdMemoryStream.h"
#include "tests/http/HttpFixture.h"

using namespace zeltest;

namespace {

struct Outcome {
    std::string body;
    std::string error; // class name; empty on success
    int code = 0;
};

class HostileExchange : public HttpTest {
protected:
    static constexpr std::size_t kBound = 1 << 20;

    void SetUp() override {
        HttpTest::SetUp();
        http.SetMaxBodySize(kBound);
        http.SetReadTimeout(20000); // only the stalling cases set a short one
    }
    // One Get; the body lands in a stream whose growth is checked against the bound.
    Outcome get(const std::string& path) {
        Outcome o;
        TIdMemoryStream s;
        s.SetMaxSize(kBound);
        try {
            http.Get(Url(path), s);
            o.body = s.ToString();
        } catch (const EIdHTTPProtocolException& e) {
            o.error = e.ClassName();
            o.code = e.ErrorCode();
        } catch (const EIdException& e) {
            o.error = e.ClassName();
        }
        EXPECT_LE(s.Capacity(), kBound + 64 * 1024) << path;
        return o;
    }
    // The server answers the first request with `first` and keeps the connection for a second
    // one, answered with `second`; a second connection gets `second` too. When `first` carries
    // bytes behind its answer, the second request goes once they are here.
    std::pair<Outcome, Outcome> twice(const std::string& first, const std::string& second,
                                      bool strayBytesFollow = false) {
        Serve({Join({Reply(first), Reply(second), {Action::WaitForPeerClose()}}),
               Join({Reply(second), {Action::WaitForPeerClose()}})});
        Outcome a = get("/one");
        if (strayBytesFollow)
            AwaitStrayBytes();
        Outcome b = get("/two");
        return {a, b};
    }
};

const std::string kNext = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nnext";
const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

bool isConnectionFailure(const std::string& error) {
    return error == "EIdSocketError" || error == "EIdConnClosedGracefully";
}

} // namespace

// --- stalls and halfway stops ---------------------------------------------------------------------

TEST_P(HostileExchange, SlowHeadWithinTheTimeoutIsRead) {
    http.SetReadTimeout(2000);
    Serve({{Action::ReadHead(), Action::Send("HTTP/1.1 200 OK\r\n"), Action::Sleep(40),
            Action::Send("Content-Length: 4\r\n"), Action::Sleep(40), Action::Send("\r\n"), Action::Sleep(40),
            Action::Send("slow"), Action::WaitForPeerClose()}});
    EXPECT_EQ(get("/a").body, "slow");
}

TEST_P(HostileExchange, NoAnswerAtAllEndsInTheReadTimeout) {
    http.SetReadTimeout(150);
    Serve({{Action::ReadHead(), Action::WaitForPeerClose()}});
    EXPECT_EQ(get("/a").error, "EIdReadTimeout");
    EXPECT_FALSE(http.Connected());
}

TEST_P(HostileExchange, HeadStallingAfterTheStatusLineEndsInTheReadTimeout) {
    http.SetReadTimeout(150);
    Serve({{Action::ReadHead(), Action::Send("HTTP/1.1 200 OK\r\nContent-Le"), Action::WaitForPeerClose()}});
    EXPECT_EQ(get("/a").error, "EIdReadTimeout");
    EXPECT_FALSE(http.Connected());
}

TEST_P(HostileExchange, BodyStallingHalfwayEndsInTheReadTimeoutAndTheConnectionGoes) {
    http.SetReadTimeout(150);
    Serve({{Action::ReadHead(), Action::Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhalf"),
            Action::WaitForPeerClose()},
           Join({Reply(kNext), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(get("/a").error, "EIdReadTimeout");
    EXPECT_EQ(get("/b").body, "next"); // on a fresh connection: the half body is never read as a head
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(HostileExchange, BodyStoppingShortOfItsLengthAtTheCloseFails) {
    // Passed off as whole, a truncated feed would show as if nothing were missing.
    Serve({Join({Reply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nok"), {Action::Close()}})});
    Outcome o = get("/a");
    EXPECT_EQ(o.error, "EIdConnClosedGracefully");
    EXPECT_FALSE(http.Connected());
    // Without a length the close is the body's end.
    Serve({Join({Reply("HTTP/1.1 200 OK\r\n\r\nuntil the close"), {Action::Close()}})});
    o = get("/b");
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.body, "until the close");
}

TEST_P(HostileExchange, ChunkedBodyStoppingHalfwayFails) {
    Serve({Join({Reply(kChunkedHead + "5\r\nhello\r\n5\r\nwo"), {Action::Close()}})});
    EXPECT_EQ(get("/a").error, "EIdConnClosedGracefully");
}

TEST_P(HostileExchange, SlowChunksWithinTheTimeoutAreRead) {
    http.SetReadTimeout(2000);
    Serve({{Action::ReadHead(), Action::Send(kChunkedHead + "3\r\nabc\r\n"), Action::Sleep(40),
            Action::Send("3\r\ndef\r\n"), Action::Sleep(40), Action::Send("0\r\n\r\n"),
            Action::WaitForPeerClose()}});
    EXPECT_EQ(get("/a").body, "abcdef");
}

// --- resets ---------------------------------------------------------------------------------------

TEST_P(HostileExchange, ResetAfterTheStatusLineFails) {
    Serve({{Action::ReadHead(), Action::Send("HTTP/1.1 200 OK\r\n"), Action::Reset()},
           Join({Reply(kNext), {Action::WaitForPeerClose()}})});
    Outcome o = get("/a");
    EXPECT_TRUE(isConnectionFailure(o.error)) << o.error;
    EXPECT_EQ(server->Requests().size(), 1u); // a fresh connection is never retried
}

TEST_P(HostileExchange, ResetInTheMiddleOfTheBodyFails) {
    Serve(
        {{Action::ReadHead(), Action::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc"),
          Action::Reset()}});
    Outcome o = get("/a");
    EXPECT_TRUE(isConnectionFailure(o.error)) << o.error;
}

TEST_P(HostileExchange, ResetAfterTheStatusLineOnAKeptConnectionIsNotResent) {
    Serve({Join({Reply(kNext), Reply("HTTP/1.1 200 OK\r\n"), {Action::Reset()}}),
           Join({Reply(kNext), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(get("/a").body, "next");
    Outcome o = get("/b");
    EXPECT_TRUE(isConnectionFailure(o.error)) << o.error;
    EXPECT_EQ(server->Requests().size(), 2u);
}

// --- interim answers -----------------------------------------------------------------------------

TEST_P(HostileExchange, EarlyHintsThenTheAnswer) {
    Serve({Join({Reply("HTTP/1.1 103 Early Hints\r\nLink: </style.css>; rel=preload\r\n\r\n" + kNext),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(get("/a").body, "next");
    EXPECT_EQ(http.ResponseCode(), 200);
}

TEST_P(HostileExchange, SeveralKindsOfInterimAnswersInARow) {
    Serve({Join({Reply("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 102 Processing\r\n\r\n"
                       "HTTP/1.1 103 Early Hints\r\n\r\nHTTP/1.1 199 Whatever\r\nX: y\r\n\r\n" +
                       kNext),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(get("/a").body, "next");
}

TEST_P(HostileExchange, EndlessEarlyHintsAreBounded) {
    Serve({Join({Reply(""), {Action::SendForever("HTTP/1.1 103 Early Hints\r\n\r\n")}})});
    EXPECT_EQ(get("/a").error, "EIdHTTPHeadTooLarge");
}

TEST_P(HostileExchange, InterimAnswerThenTheCloseFails) {
    Serve({Join({Reply("HTTP/1.1 103 Early Hints\r\n\r\n"), {Action::Close()}})});
    EXPECT_EQ(get("/a").error, "EIdConnClosedGracefully");
}

// --- answers without a body ----------------------------------------------------------------------

TEST_P(HostileExchange, NotModifiedAnnouncingALengthReadsNoBody) {
    auto [a, b] = twice("HTTP/1.1 304 Not Modified\r\nContent-Length: 50\r\n\r\n", kNext);
    EXPECT_EQ(a.code, 304);
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 1); // nothing of the 304 was left on the connection
}

TEST_P(HostileExchange, NotModifiedAnnouncingChunksReadsNoBody) {
    auto [a, b] = twice("HTTP/1.1 304 Not Modified\r\nTransfer-Encoding: chunked\r\n\r\n", kNext);
    EXPECT_EQ(a.code, 304);
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(HostileExchange, NoContentAnnouncingALengthReadsNoBody) {
    auto [a, b] = twice("HTTP/1.1 204 No Content\r\nContent-Length: 50\r\n\r\n", kNext);
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.body, "");
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(HostileExchange, NotModifiedWithALocationIsNoRedirect) {
    http.SetHandleRedirects(true);
    Serve({Join(
        {Reply("HTTP/1.1 304 Not Modified\r\nLocation: /elsewhere\r\n\r\n"), {Action::WaitForPeerClose()}})});
    EXPECT_EQ(get("/a").code, 304);
    EXPECT_EQ(server->Requests().size(), 1u);
}

// --- smuggling-style framing ---------------------------------------------------------------------

TEST_P(HostileExchange, ChunksWinOverALengthAndTheConnectionIsNotReused) {
    // Read by the length, the chunk lines would end the body early and leave a forged answer
    // ("HTTP/1.1 200 ... FAKE") to be taken for the next one.
    const std::string forged = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nFAKE";
    static_assert(sizeof("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nFAKE") - 1 == 0x2a);
    auto [a, b] = twice("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n2a\r\n" +
                            forged + "\r\n0\r\n\r\n",
                        kNext);
    EXPECT_EQ(a.body, forged); // the forged answer is data of the first body
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(HostileExchange, ZeroLengthFollowedByAForgedAnswerIsNotTakenForTheNext) {
    auto [a, b] =
        twice("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nFAKE",
              kNext, true);
    EXPECT_EQ(a.body, "");
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(HostileExchange, TheSameLengthTwiceIsOneLength) {
    auto [a, b] = twice("HTTP/1.1 200 OK\r\nContent-Length: 5\r\ncontent-length:  5\r\n\r\nhello", kNext);
    EXPECT_EQ(a.body, "hello");
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 1);
}

TEST_P(HostileExchange, ALengthAndAnotherOnAContinuationLineFail) {
    auto [a, b] =
        twice("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 5\r\n 0\r\n\r\nhello", kNext);
    EXPECT_EQ(a.error, "EIdHTTPMalformedResponse"); // "5" and "5 0"
    EXPECT_EQ(b.body, "next");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(HostileExchange, ChunkSizesWithLeadingZerosUpperCaseAndExtensions) {
    Serve({Join({Reply(kChunkedHead + "0003\r\nabc\r\nA;x=1;y=\"2\"\r\n0123456789\r\n0;last\r\n\r\n"),
                 {Action::WaitForPeerClose()}})});
    EXPECT_EQ(get("/a").body, "abc0123456789");
}

TEST_P(HostileExchange, ChunkSizesThatAreNotNumbersFail) {
    for (const std::string& size :
         {std::string(""), std::string("5x"), std::string("0x5"), std::string(";5"), std::string("5\x01")}) {
        Serve({Join({Reply(kChunkedHead + size + "\r\nhello\r\n0\r\n\r\n"), {Action::Close()}})});
        EXPECT_EQ(get("/a").error, "EIdHTTPMalformedResponse") << size;
        EXPECT_FALSE(http.Connected());
    }
}

TEST_P(HostileExchange, HeadCutOffAfterSeveralLinesFails) {
    Serve({Join({Reply("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 0\r\nX-More: 1\r\n"),
                 {Action::Close()}})});
    EXPECT_EQ(get("/a").error, "EIdHTTPMalformedResponse");
}

ZEL_HTTP_CUTS(HostileExchange);
