// A hostile server against the client: broken status lines, endless or oversized heads, odd bytes
// in headers, conflicting or lying framing, endless bodies, bytes after a body and poisoned
// cookies. Each case ends in the documented result or a clear exception, with memory bounded by
// the client's limits; none may crash or hang.
#include "http/EIdException.h"
#include "http/TIdMemoryStream.h"
#include "http/TIdStringStream.h"
#include "tests/http/HttpFixture.h"

using namespace zeltest;

namespace {

struct Outcome {
    std::string body;
    std::string error; // the exception's class name, empty on success
    std::string message;
    int code = 0;
};

Outcome capture(const std::function<std::string()>& get) {
    Outcome o;
    try {
        o.body = get();
    } catch (const EIdHTTPProtocolException& e) {
        o.error = e.ClassName();
        o.message = e.Message();
        o.code = e.ErrorCode();
        o.body = e.ErrorMessage();
    } catch (const EIdException& e) {
        o.error = e.ClassName();
        o.message = e.Message();
    } catch (const std::exception& e) {
        o.error = std::string("unexpected: ") + e.what();
    }
    return o;
}

class Hostile : public HttpTest {
protected:
    void SetUp() override {
        HttpTest::SetUp();
        http.SetMaxBodySize(1 << 20);
        http.SetReadTimeout(20000); // a safety net only: no case depends on a time-out
    }
    // One Get against a server that answers with `response` and then closes.
    Outcome once(const std::string& response) {
        Serve({Join({Reply(response), {Action::Close()}})});
        return capture([&] { return http.Get(Url("/feed.xml")); });
    }
    // One Get against a server that answers with the prefix and then sends the pattern forever.
    Outcome endless(const std::string& prefix, const std::string& pattern) {
        Serve({Join({Reply(prefix), {Action::SendForever(pattern)}})});
        return capture([&] { return http.Get(Url("/feed.xml")); });
    }
    // Two Gets: the first answered with `first` on a connection that then waits, the second
    // answered on whichever connection it comes on. When `first` carries bytes behind its answer,
    // the second goes once they are here.
    std::pair<Outcome, Outcome> twice(const std::string& first, const std::string& second,
                                      bool strayBytesFollow = false) {
        Serve({Join({Reply(first), Reply(second), {Action::WaitForPeerClose()}}),
               Join({Reply(second), {Action::WaitForPeerClose()}})});
        Outcome a = capture([&] { return http.Get(Url("/one")); });
        if (strayBytesFollow)
            AwaitStrayBytes();
        Outcome b = capture([&] { return http.Get(Url("/two")); });
        return {a, b};
    }
};

const std::string kOk5 = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello";

} // namespace

// --- status lines ---------------------------------------------------------------------------

TEST_P(Hostile, StatusCodeThatIsNotANumber) {
    Outcome o = once("HTTP/1.1 abc OK\r\nContent-Length: 4\r\n\r\nbody");
    EXPECT_EQ(o.error, "EIdHTTPProtocolException");
    EXPECT_EQ(o.code, -1);
    EXPECT_EQ(o.message, "HTTP/1.1 abc OK");
    EXPECT_EQ(o.body, "body");
}

TEST_P(Hostile, StatusCodeTooLargeForANumber) {
    Outcome o = once("HTTP/1.1 99999999999 Big\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(o.error, "EIdHTTPProtocolException");
    EXPECT_EQ(o.code, -1);
}

TEST_P(Hostile, NegativeStatusCode) {
    Outcome o = once("HTTP/1.1 -200 Neg\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(o.error, "EIdHTTPProtocolException");
    EXPECT_EQ(o.code, -200);
}

TEST_P(Hostile, StatusCodesOutsideTheKnownClasses) {
    EXPECT_EQ(once("HTTP/1.1 600 Odd\r\nContent-Length: 0\r\n\r\n").code, 600);
}

TEST_P(Hostile, InformationalCodeOtherThan100IsSkippedLike100) {
    // The answer the 199 announces never comes.
    EXPECT_EQ(once("HTTP/1.1 199 Info\r\nContent-Length: 0\r\n\r\n").error, "EIdConnClosedGracefully");
}

TEST_P(Hostile, EmptyStatusLine) {
    Outcome o = once("\r\nContent-Length: 2\r\n\r\nok");
    EXPECT_EQ(o.error, "EIdHTTPProtocolException");
    EXPECT_EQ(o.message, "");
    EXPECT_EQ(o.code, -1);
}

TEST_P(Hostile, StatusLineWithoutReasonAndInOtherCase) {
    EXPECT_EQ(once("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok").body, "ok");
}

TEST_P(Hostile, LowerCaseVersion) {
    EXPECT_EQ(once("http/1.0 200 ok\r\nContent-Length: 2\r\n\r\nok").body, "ok");
    EXPECT_EQ(http.Response().ResponseVersion(), pv1_0);
}

TEST_P(Hostile, CloseBeforeAnyByte) {
    Serve({{Action::ReadHead(), Action::Close()}});
    EXPECT_EQ(capture([&] { return http.Get(Url("/x")); }).error, "EIdConnClosedGracefully");
}

TEST_P(Hostile, CloseInsideTheStatusLine) {
    EXPECT_EQ(once("HTTP/1.1 20").error, "EIdConnClosedGracefully");
}

TEST_P(Hostile, CloseAfterTheStatusLine) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\n").error, "EIdConnClosedGracefully");
}

TEST_P(Hostile, ResetInsteadOfAnAnswer) {
    Serve({{Action::ReadHead(), Action::Reset()}});
    Outcome o = capture([&] { return http.Get(Url("/x")); });
    // Either the reset itself or the close it implies, never a success.
    EXPECT_TRUE(o.error == "EIdSocketError" || o.error == "EIdConnClosedGracefully") << o.error;
}

TEST_P(Hostile, OversizedStatusLine) {
    Outcome o = once("HTTP/1.1 200 " + std::string(20000, 'x') + "\r\n\r\n");
    EXPECT_EQ(o.error, "EIdReadLnMaxLineLengthExceeded");
    EXPECT_EQ(o.message, "Max line length exceeded.");
}

TEST_P(Hostile, EndlessStatusLine) {
    EXPECT_EQ(endless("HTTP/1.1 200 ", "x").error, "EIdReadLnMaxLineLengthExceeded");
}

// --- heads --------------------------------------------------------------------------------

TEST_P(Hostile, MoreHeaderLinesThanTheLimit) {
    std::string head = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 300; ++i)
        head += "X-" + std::to_string(i) + ": v\r\n";
    Outcome o = once(head + "Content-Length: 2\r\n\r\nok");
    EXPECT_EQ(o.error, "EIdHTTPHeadTooLarge");
    EXPECT_EQ(o.message, "Response head has more than 255 header lines.");
}

TEST_P(Hostile, ExactlyTheLimitOfHeaderLines) {
    std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n";
    for (int i = 1; i < 255; ++i)
        head += "X-" + std::to_string(i) + ": v\r\n";
    EXPECT_EQ(once(head + "\r\nok").body, "ok");
}

TEST_P(Hostile, EndlessHeaderLines) {
    EXPECT_EQ(endless("HTTP/1.1 200 OK\r\n", "X-Again: and again\r\n").error, "EIdHTTPHeadTooLarge");
}

TEST_P(Hostile, EndlessHeaderLinesWithoutALineLimit) {
    http.SetHeaderLineLimit(0);
    Outcome o = endless("HTTP/1.1 200 OK\r\n", "X-Again: and again\r\n");
    EXPECT_EQ(o.error, "EIdHTTPHeadTooLarge"); // the byte bound still holds
}

TEST_P(Hostile, OversizedHeaderLine) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nX-Big: " + std::string(20000, 'y') + "\r\n\r\n").error,
              "EIdReadLnMaxLineLengthExceeded");
}

TEST_P(Hostile, EndlessHeaderLine) {
    EXPECT_EQ(endless("HTTP/1.1 200 OK\r\nX-Big: ", "y").error, "EIdReadLnMaxLineLengthExceeded");
}

TEST_P(Hostile, NulBytesInHeaders) {
    const std::string nul(1, '\0');
    std::string r = "HTTP/1.1 200 OK\r\nX-" + nul + "Odd: a" + nul + "b\r\nContent-Length: 2\r\n\r\nok";
    EXPECT_EQ(once(r).body, "ok");
}

TEST_P(Hostile, BareCarriageReturnsInHeaders) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nX-Odd: a\rb\r\r\nContent-Length: 2\r\n\r\nok").body, "ok");
}

TEST_P(Hostile, LineFeedOnlyHead) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\nContent-Length: 2\n\nok").body, "ok");
}

TEST_P(Hostile, HeaderLinesWithoutColonOrStartingWithABlank) {
    EXPECT_EQ(
        once("HTTP/1.1 200 OK\r\n continued from nowhere\r\nGarbage\r\nContent-Length: 2\r\n\r\nok").body,
        "ok");
}

TEST_P(Hostile, CloseBeforeTheBlankLineFailsTheHead) {
    Outcome o = once("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n");
    EXPECT_EQ(o.error, "EIdHTTPMalformedResponse");
    EXPECT_EQ(o.message, "The server closed the connection before the end of the response head.");
    EXPECT_FALSE(http.Connected());
}

TEST_P(Hostile, EndlessInterimHeads) {
    Outcome o = endless("", "HTTP/1.1 100 Continue\r\n\r\n");
    EXPECT_EQ(o.error, "EIdHTTPHeadTooLarge");
}

// --- framing ------------------------------------------------------------------------------

TEST_P(Hostile, LengthAndChunkingTogetherChunksWin) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n"
                   "5\r\nhello\r\n0\r\n\r\n")
                  .body,
              "hello");
}

TEST_P(Hostile, TwoDifferentLengthsFailAndTheRestIsNotReused) {
    auto [a, b] = twice("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 5\r\n\r\nhello", kOk5);
    EXPECT_EQ(a.error, "EIdHTTPMalformedResponse");
    EXPECT_EQ(b.body, "hello");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(Hostile, NegativeLengthReadsToTheClose) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\nall of it").body, "all of it");
}

TEST_P(Hostile, LengthThatIsNotANumberReadsToTheClose) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nContent-Length: 5x\r\n\r\nall of it").body, "all of it");
}

TEST_P(Hostile, LengthBeyond32BitsReadsToTheClose) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n0123456789").body, "0123456789");
}

TEST_P(Hostile, LengthWithBlanksAroundIt) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nContent-Length:    5   \r\n\r\nhello").body, "hello");
}

TEST_P(Hostile, HugeAnnouncedLengthCostsOnlyWhatArrives) {
    Serve({Join(
        {Reply("HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\n\r\n0123456789"), {Action::Close()}})});
    http.SetMaxBodySize(0); // even without a bound nothing is set aside in advance
    TIdMemoryStream s;
    Outcome o = capture([&] {
        http.Get(Url("/x"), s);
        return std::string();
    });
    EXPECT_EQ(o.error, "EIdConnClosedGracefully"); // the body stopped short of its length
    EXPECT_EQ(s.ToString(), "0123456789");
    EXPECT_LE(s.Capacity(), std::size_t{128 * 1024}); // at most a receive or two ahead
}

TEST_P(Hostile, EndlessBodyWithoutLength) {
    Outcome o = endless("HTTP/1.1 200 OK\r\n\r\n", "0123456789");
    EXPECT_EQ(o.error, "EIdContentTooLarge");
    EXPECT_EQ(o.message, "Response body exceeds the limit of 1048576 bytes.");
    EXPECT_FALSE(http.Connected());
}

TEST_P(Hostile, EndlessBodyBehindAHugeLength) {
    EXPECT_EQ(endless("HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\n\r\n", "abc").error,
              "EIdContentTooLarge");
}

TEST_P(Hostile, EndlessErrorBody) {
    EXPECT_EQ(endless("HTTP/1.1 500 Oops\r\n\r\n", "abc").error, "EIdContentTooLarge");
}

// --- chunks -------------------------------------------------------------------------------

TEST_P(Hostile, ChunkSizeBeyondSigned32BitsFails) {
    // 0x80000000 would be negative in 32 bits and 0x100000005 would wrap to 5: neither is a size.
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n80000000\r\nabc\r\n0\r\n\r\n").error,
              "EIdHTTPMalformedResponse");
}

TEST_P(Hostile, ChunkSizeThatWouldWrapToASmallOneFails) {
    EXPECT_EQ(
        once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n100000005\r\nhello\r\n0\r\n\r\n").error,
        "EIdHTTPMalformedResponse");
}

TEST_P(Hostile, ChunkSizeNegativeOrSignedFails) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n-5\r\nhello\r\n0\r\n\r\n").error,
              "EIdHTTPMalformedResponse");
}

TEST_P(Hostile, LargestChunkSizeThatFitsButDataStopsShort) {
    Outcome o = once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7fffffff\r\nonly this");
    EXPECT_EQ(o.error, "EIdConnClosedGracefully");
}

TEST_P(Hostile, OversizedChunkSizeLine) {
    EXPECT_EQ(
        once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + std::string(20000, '0') + "5\r\n")
            .error,
        "EIdReadLnMaxLineLengthExceeded");
}

TEST_P(Hostile, EndlessChunks) {
    EXPECT_EQ(endless("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "a\r\n0123456789\r\n").error,
              "EIdContentTooLarge");
}

TEST_P(Hostile, BytesBetweenAChunksDataAndItsLineEndFail) {
    // Thrown away, they would shift the framing: here a size one short would leave the last byte
    // of the data for the line end.
    Outcome o = once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nhello\r\n0\r\n\r\n");
    EXPECT_EQ(o.error, "EIdHTTPMalformedResponse");
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello;\r\n0\r\n\r\n").error,
              "EIdHTTPMalformedResponse");
}

TEST_P(Hostile, CloseInsideAChunk) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nshort").error,
              "EIdConnClosedGracefully");
}

TEST_P(Hostile, CloseWithoutTheLastChunk) {
    EXPECT_EQ(once("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n").error,
              "EIdConnClosedGracefully");
}

TEST_P(Hostile, EndlessTrailers) {
    EXPECT_EQ(
        endless("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nx\r\n0\r\n", "X-T: 1\r\n").error,
        "EIdHTTPHeadTooLarge");
}

// --- the kept connection ------------------------------------------------------------------

TEST_P(Hostile, BytesAfterTheBodyAreNotTakenForTheNextAnswer) {
    auto [a, b] = twice(
        "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokHTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nFAKE",
        kOk5, true);
    EXPECT_EQ(a.body, "ok");
    EXPECT_EQ(b.body, "hello");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(Hostile, BodyOnANoContentAnswer) {
    auto [a, b] = twice("HTTP/1.1 204 No Content\r\n\r\nunexpected body", kOk5, true);
    EXPECT_EQ(a.body, "");
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(b.body, "hello");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(Hostile, ABodyPastTheBoundLeavesNothingBehind) {
    Serve({Join({Reply("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n0123456789"),
                 Reply(kOk5),
                 {Action::WaitForPeerClose()}}),
           Join({Reply(kOk5), {Action::WaitForPeerClose()}})});
    http.SetMaxBodySize(4);
    EXPECT_EQ(capture([&] { return http.Get(Url("/big")); }).error, "EIdContentTooLarge");
    EXPECT_FALSE(http.Connected());
    http.SetMaxBodySize(1 << 20);
    EXPECT_EQ(capture([&] { return http.Get(Url("/small")); }).body, "hello");
    EXPECT_EQ(server->Accepted(), 2);
}

TEST_P(Hostile, RedirectLoopIsBounded) {
    http.SetHandleRedirects(true);
    http.SetRedirectMaximum(5);
    Serve({{Action::ReadHead(),
            Action::Send("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"),
            Action::ReadHead(),
            Action::Send("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"),
            Action::ReadHead(),
            Action::Send("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"),
            Action::ReadHead(),
            Action::Send("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"),
            Action::ReadHead(),
            Action::Send("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"),
            Action::WaitForPeerClose()}});
    Outcome o = capture([&] { return http.Get(Url("/start")); });
    EXPECT_EQ(o.error, "EIdHTTPProtocolException");
    EXPECT_EQ(o.code, 302);
    EXPECT_EQ(server->Requests().size(), 5u);
}

TEST_P(Hostile, RedirectToAUrlWithControlCharacters) {
    http.SetHandleRedirects(true);
    Outcome o =
        once("HTTP/1.1 302 Found\r\nLocation: /a" + std::string(1, '\0') + "b\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(o.error, "EIdInvalidURL");
}

TEST_P(Hostile, EndlessAuthenticationChallengesAreBounded) {
    std::string challenge =
        "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\nContent-Length: 0\r\n\r\n";
    Serve({Join({Reply(challenge),
                 Reply(challenge),
                 Reply(challenge),
                 Reply(challenge),
                 Reply(challenge),
                 {Action::WaitForPeerClose()}})});
    http.SetHTTPOptions(hoInProcessAuth);
    int asked = 0;
    http.OnAuthorization = [&](TIdCustomHTTP*, TIdAuthentication* a, bool& handled) {
        ++asked;
        a->SetUsername("u");
        a->SetPassword("p");
        handled = true;
    };
    http.Request().SetUsername("u");
    http.Request().SetPassword("p");
    Outcome o = capture([&] { return http.Get(Url("/x")); });
    EXPECT_EQ(o.error, "EIdHTTPProtocolException");
    EXPECT_EQ(o.code, 401);
    // The user name is known, so the program is never asked; Basic has one step, so the second
    // challenge ends the exchange.
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(server->Requests().size(), 2u);
}

// --- cookies ------------------------------------------------------------------------------

TEST_P(Hostile, CookiesForOtherSitesAreDropped) {
    auto [a, b] = twice(Ok("1", {"Set-Cookie: a=1; domain=evil.example", "Set-Cookie: b=2; domain=0.0.1",
                                 "Set-Cookie: c=3; domain=.0.0.1", "Set-Cookie: d=4; domain=1"}),
                        Ok("2"));
    EXPECT_EQ(b.body, "2");
    EXPECT_EQ(server->Requests().at(1).find("Cookie:"), std::string::npos);
}

TEST_P(Hostile, CookiesWithControlCharactersAreDropped) {
    auto [a, b] = twice(Ok("1", {std::string("Set-Cookie: a=x\x01y"), std::string("Set-Cookie: b\x7f=1"),
                                 "Set-Cookie: good=1"}),
                        Ok("2"));
    EXPECT_EQ(b.body, "2");
    std::string head = server->Requests().at(1);
    EXPECT_NE(head.find("\r\nCookie: good=1\r\n"), std::string::npos);
}

TEST_P(Hostile, CookieLifetimesFarOutOfRange) {
    auto [a, b] = twice(Ok("1", {"Set-Cookie: a=1; Max-Age=999999999999999999999999",
                                 "Set-Cookie: b=2; expires=Fri, 31 Dec 99999 23:59:59 GMT",
                                 "Set-Cookie: c=3; Max-Age=-99999999999999999999"}),
                        Ok("2"));
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(b.body, "2");
    std::string head = server->Requests().at(1);
    // The huge lifetimes count as far in the future; the huge negative one has already expired.
    EXPECT_NE(head.find("\r\nCookie: a=1; b=2\r\n"), std::string::npos);
}

TEST_P(Hostile, ABodyThatStallsKeepsOnlyTheBytesThatCame) {
    // Received in place, a piece that never comes must not leave room it was given as content.
    http.SetReadTimeout(300);
    for (const char* head : {"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n0123456789",
                             "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n186a0\r\n0123456789"}) {
        Serve({Join({Reply(head), {Action::WaitForPeerClose()}})});
        TIdStringStream s;
        Outcome o = capture([&] {
            http.Get(Url("/x"), s);
            return std::string();
        });
        EXPECT_EQ(o.error, "EIdReadTimeout") << head;
        ASSERT_EQ(s.Size(), 10) << head;
        EXPECT_EQ(s.Data(), "0123456789") << head;
        http.Disconnect();
    }
}

ZEL_HTTP_CUTS(Hostile);
