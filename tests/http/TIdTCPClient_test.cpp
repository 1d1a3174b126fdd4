// The TCP connection against scripted loopback peers. Every read test runs three ways: the peer's
// bytes in one send, one byte per send, and an in-memory peer that hands out one byte per
// receive; results must not depend on how the stream is cut.
#include "http/EIdException.h"
#include "http/TIdIOHandlerMemory.h"
#include "http/TIdIOHandlerSocket.h"
#include "http/TIdIOHandlerStack.h"
#include "http/TIdMemoryStream.h"
#include "http/TIdStack.h"
#include "http/TIdTCPClient.h"
#include "tests/support/RefusedPort.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>

using namespace zeltest;

namespace {

enum class Cut { Whole, BytePerSend, InMemory };

std::string cutName(const testing::TestParamInfo<Cut>& info) {
    switch (info.param) {
    case Cut::Whole:
        return "Whole";
    case Cut::BytePerSend:
        return "BytePerSend";
    default:
        return "InMemory";
    }
}

// A peer that sends `bytes` and then closes, reached by a connected client.
class Peer {
public:
    Peer(Cut cut, const std::string& bytes) {
        if (cut == Cut::InMemory) {
            memory_ = std::make_unique<TIdIOHandlerMemory>(bytes, 1);
            client_.SetIOHandler(memory_.get());
        } else {
            server_ = std::make_unique<ScriptedServer>(
                std::vector<Script>{{Action::Send(bytes), Action::Close()}},
                cut == Cut::Whole ? Delivery::Whole : Delivery::OneBytePerSend);
            client_.SetHost("127.0.0.1");
            client_.SetPort(server_->Port());
        }
        client_.Connect();
    }
    TIdTCPClient& client() { return client_; }
    TIdIOHandler& io() { return *client_.IOHandler(); }

private:
    std::unique_ptr<ScriptedServer> server_;
    std::unique_ptr<TIdIOHandlerMemory> memory_;
    TIdTCPClient client_;
};

class ConnectionReads : public testing::TestWithParam<Cut> {};

// Waits until the peer's close (its FIN) has reached our socket, without reading anything, so a
// test can look at the connection afterwards instead of polling it. An in-memory peer has no
// socket: its end is there from the start.
bool peerCloseArrived(TIdIOHandler& io) {
    auto* socket = dynamic_cast<TIdIOHandlerSocket*>(&io);
    if (!socket)
        return true;
    pollfd p{socket->Binding().Handle(), POLLRDHUP, 0};
    return ::poll(&p, 1, 10000) == 1 && (p.revents & POLLRDHUP);
}

} // namespace

TEST_P(ConnectionReads, LineTerminators) {
    Peer p(GetParam(), "crlf\r\nlf\ndouble\r\r\n\r\nlast\n");
    EXPECT_EQ(p.io().ReadLn(), "crlf");
    EXPECT_EQ(p.io().ReadLn(), "lf");
    EXPECT_EQ(p.io().ReadLn(), "double\r"); // only the CR right before the LF goes
    EXPECT_EQ(p.io().ReadLn(), "");
    EXPECT_EQ(p.io().ReadLn(), "last");
    EXPECT_THROW(p.io().ReadLn(), EIdConnClosedGracefully);
}

TEST_P(ConnectionReads, OtherTerminatorsAreFoundAcrossPieces) {
    Peer p(GetParam(), "one<END>two<END>");
    EXPECT_EQ(p.io().ReadLn("<END>"), "one");
    EXPECT_EQ(p.io().ReadLn("<END>"), "two");
}

TEST_P(ConnectionReads, LineLimitIs16384BytesBeforeTheLF) {
    std::string ok(16383, 'a');
    ok += '\r'; // the CR counts towards the limit
    Peer p(GetParam(), ok + "\n" + std::string(16385, 'b') + "\nnext\n");
    EXPECT_EQ(p.io().ReadLn(), std::string(16383, 'a'));
    try {
        p.io().ReadLn();
        FAIL();
    } catch (const EIdReadLnMaxLineLengthExceeded& e) {
        EXPECT_EQ(e.Message(), "Max line length exceeded.");
    }
}

TEST_P(ConnectionReads, LineLimitSplitsWhenAsked) {
    Peer p(GetParam(), std::string(16385, 'b') + "\nnext\n");
    p.io().SetMaxLineAction(maSplit);
    EXPECT_EQ(p.io().ReadLn(), std::string(16384, 'b'));
    EXPECT_TRUE(p.io().ReadLnSplit());
    EXPECT_EQ(p.io().ReadLn(), "b"); // the rest stayed buffered
    EXPECT_FALSE(p.io().ReadLnSplit());
    EXPECT_EQ(p.io().ReadLn(), "next");
}

TEST_P(ConnectionReads, PartialLineThenCloseIsLost) {
    Peer p(GetParam(), "whole\npartial");
    EXPECT_EQ(p.io().ReadLn(), "whole");
    try {
        p.io().ReadLn();
        FAIL();
    } catch (const EIdConnClosedGracefully& e) {
        EXPECT_EQ(e.Message(), "Connection Closed Gracefully.");
    }
}

TEST_P(ConnectionReads, ReadUntilCloseKeepsBytesAlreadyBuffered) {
    std::string body;
    for (int i = 0; i < 5000; ++i)
        body += std::to_string(i) + "\n";
    Peer p(GetParam(), "status\n" + body);
    EXPECT_EQ(p.io().ReadLn(), "status");
    TIdMemoryStream s;
    p.io().ReadStream(s, -1, true);
    EXPECT_EQ(s.ToString(), body);
    EXPECT_FALSE(p.client().Connected());
}

TEST_P(ConnectionReads, ExactCountsAndAShortStream) {
    Peer p(GetParam(), "12345" + std::string(70000, 'x') + "tail");
    std::string five;
    p.io().ReadBytes(five, 5);
    EXPECT_EQ(five, "12345");
    TIdMemoryStream s;
    p.io().ReadStream(s, 70000);
    EXPECT_EQ(s.ToString(), std::string(70000, 'x'));
    // Asking for more than the peer sends gives what came, then the close.
    TIdMemoryStream rest;
    EXPECT_THROW(p.io().ReadStream(rest, 100), EIdConnClosedGracefully);
    EXPECT_EQ(rest.ToString(), "tail");
}

TEST_P(ConnectionReads, ExactReadPastTheCloseRaises) {
    Peer p(GetParam(), "abc");
    std::string got;
    EXPECT_THROW(p.io().ReadBytes(got, 4), EIdConnClosedGracefully);
    EXPECT_EQ(got, "");
}

TEST_P(ConnectionReads, OpenConnectionTestAfterThePeerClosed) {
    Peer p(GetParam(), "line\nrest");
    EXPECT_EQ(p.io().ReadLn(), "line");
    ASSERT_TRUE(peerCloseArrived(p.io()));
    // Unread bytes keep the connection usable after the peer has gone: each test reads more in,
    // until it meets the close and frees our socket, and the connection still counts as open.
    for (int i = 0; i < 100 && p.io().SourceAllocated(); ++i)
        EXPECT_TRUE(p.client().Connected());
    EXPECT_FALSE(p.io().SourceAllocated());
    EXPECT_TRUE(p.client().Connected());
    std::string rest;
    p.io().ReadBytes(rest, 4);
    EXPECT_EQ(rest, "rest");
    EXPECT_FALSE(p.client().Connected());
    EXPECT_FALSE(p.io().SourceAllocated()); // the test closed our end too
}

INSTANTIATE_TEST_SUITE_P(Cuts, ConnectionReads, testing::Values(Cut::Whole, Cut::BytePerSend, Cut::InMemory),
                         cutName);

TEST(TIdTCPClient, IdlePeerCloseIsNoticedWithoutBufferedBytes) {
    ScriptedServer server({{Action::Close()}});
    TIdTCPClient c;
    c.Connect("127.0.0.1", server.Port());
    ASSERT_TRUE(peerCloseArrived(*c.IOHandler()));
    EXPECT_FALSE(c.Connected());
    EXPECT_FALSE(c.IOHandler()->SourceAllocated());
    c.Disconnect();
    c.Disconnect(); // never raises for a closed connection
}

TEST(TIdTCPClient, ReadTimeoutOnlyWhenPositive) {
    // Each line end comes a while after the client said it is waiting for it. The pause only gives
    // a wrong client time to give up; a right one waits however long it takes.
    ScriptedServer server(
        {{Action::Send("no end of line"), Action::ReadBytes(1), Action::Sleep(300), Action::Send("\n"),
          Action::ReadBytes(1), Action::Sleep(300), Action::Send("late\n"), Action::WaitForPeerClose()}});
    TIdTCPClient c;
    c.SetReadTimeout(150);
    c.Connect("127.0.0.1", server.Port());
    auto start = std::chrono::steady_clock::now();
    try {
        c.IOHandler()->ReadLn();
        FAIL();
    } catch (const EIdReadTimeout& e) {
        EXPECT_EQ(e.Message(), "Read Timeout");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
    // An explicit time-out returns an empty line and says so instead of raising.
    EXPECT_EQ(c.IOHandler()->ReadLn("\n", 50), "");
    EXPECT_TRUE(c.IOHandler()->ReadLnTimedOut());
    EXPECT_TRUE(c.Connected());
    // Zero and negative time-outs set no limit: the read waits for the line.
    for (int timeout : {0, -1}) {
        SCOPED_TRACE(timeout);
        c.SetReadTimeout(timeout);
        c.IOHandler()->Write("w");
        EXPECT_EQ(c.IOHandler()->ReadLn(), timeout == 0 ? "no end of line" : "late");
    }
    c.Disconnect();
}

TEST(TIdTCPClient, WritesAndTheWriteBuffer) {
    ScriptedServer server({{Action::WaitForPeerClose()}});
    TIdTCPClient c;
    c.Connect("127.0.0.1", server.Port());
    c.IOHandler()->WriteLn("plain");
    c.IOHandler()->WriteBufferOpen();
    c.IOHandler()->WriteLn("dropped");
    c.IOHandler()->WriteBufferCancel();
    EXPECT_FALSE(c.IOHandler()->WriteBufferingActive());
    c.IOHandler()->WriteBufferOpen();
    c.IOHandler()->Write("buffered ");
    c.IOHandler()->WriteLn("line");
    c.IOHandler()->WriteBufferClose();
    c.Disconnect();
    ASSERT_TRUE(server.WaitScriptsDone(1));
    EXPECT_EQ(server.Received().at(0), "plain\r\nbuffered line\r\n");
}

TEST(TIdTCPClient, WriteBufferSendsNothingUntilClosed) {
    TIdIOHandlerMemory mem;
    TIdTCPClient c;
    c.SetIOHandler(&mem);
    c.Connect();
    mem.WriteBufferOpen();
    mem.WriteLn("GET / HTTP/1.1");
    mem.WriteLn("");
    EXPECT_EQ(mem.Output(), "");
    mem.WriteBufferClose();
    EXPECT_EQ(mem.Output(), "GET / HTTP/1.1\r\n\r\n");
    // A positive threshold sends that many bytes whenever it is reached.
    mem.WriteBufferOpen(4);
    mem.Write("abcdef");
    EXPECT_EQ(mem.Output(), "GET / HTTP/1.1\r\n\r\nabcd");
    mem.WriteBufferClose();
    EXPECT_EQ(mem.Output(), "GET / HTTP/1.1\r\n\r\nabcdef");
}

TEST(TIdTCPClient, NoTargetOpensWithoutSocketAndTheFirstWriteFails) {
    TIdTCPClient c;
    c.SetHost("127.0.0.1");
    c.SetPort(0);
    c.Connect();
    EXPECT_THROW(c.IOHandler()->WriteLn("x"), EIdConnClosedGracefully);
}

TEST(TIdTCPClient, AlreadyConnected) {
    ScriptedServer server({{Action::WaitForPeerClose()}});
    TIdTCPClient c;
    c.Connect("127.0.0.1", server.Port());
    try {
        c.Connect();
        FAIL();
    } catch (const EIdAlreadyConnected& e) {
        EXPECT_EQ(e.Message(), "Already connected.");
    }
}

TEST(TIdTCPClient, RefusedConnectionAndAFreshHandlerAfterwards) {
    RefusedPort refused;
    TIdTCPClient c;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            c.Connect("127.0.0.1", refused.Port());
            FAIL();
        } catch (const EIdSocketError& e) {
            EXPECT_EQ(e.LastError(), 10061);
            EXPECT_EQ(e.Message(), "Socket Error # 10061\r\nConnection refused.");
            EXPECT_STREQ(e.ClassName(), "EIdSocketError");
        }
        EXPECT_EQ(c.IOHandler(), nullptr); // the handler the client made is gone
    }
    ScriptedServer server({{Action::Send("ok\n"), Action::Close()}});
    c.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(c.IOHandler()->ReadLn(), "ok");
}

TEST(TIdTCPClient, UnknownHost) {
    TIdTCPClient c;
    try {
        c.Connect("no-such-host.invalid", 80);
        FAIL();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.LastError(), 11001);
        EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    }
}

TEST(TIdTCPClient, ConnectTimeoutWhenTheListenerCannotAccept) {
    // A listener with a full accept queue drops further handshakes, so a connect never completes.
    int lfd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(::bind(lfd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(lfd, 0), 0);
    ::getsockname(lfd, reinterpret_cast<sockaddr*>(&a), &len);
    std::vector<std::unique_ptr<TIdTCPClient>> fillers;
    bool blocked = false;
    for (int i = 0; i < 8 && !blocked; ++i) {
        auto f = std::make_unique<TIdTCPClient>();
        f->SetConnectTimeout(300);
        try {
            f->Connect("127.0.0.1", ntohs(a.sin_port));
            fillers.push_back(std::move(f));
        } catch (const EIdConnectTimeout& e) {
            EXPECT_EQ(e.Message(), "Connect timed out.");
            blocked = true;
        }
    }
    ::close(lfd);
    EXPECT_TRUE(blocked);
}

TEST(TIdStack, ErrorNumbersAndTexts) {
    EXPECT_EQ(TIdStack::TranslateError(ECONNREFUSED), 10061);
    EXPECT_EQ(TIdStack::TranslateError(ECONNRESET), 10054);
    EXPECT_EQ(TIdStack::TranslateError(ETIMEDOUT), 10060);
    EXPECT_EQ(TIdStack::ErrorText(10066), "Directory not empty");
    EXPECT_EQ(TIdStack::ErrorText(10048), "Address already in use.");
    try {
        TIdStack::RaiseSocketError(10038);
        FAIL();
    } catch (const EIdNotASocket& e) {
        EXPECT_EQ(e.Message(), "Socket Error # 10038\r\nSocket operation on non-socket.");
        EXPECT_STREQ(e.ClassName(), "EIdNotASocket");
    }
    try {
        TIdStack::RaiseSocketError(12345);
        FAIL();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.Message(), "Socket Error # 12345\r\n");
    }
    EXPECT_TRUE(TIdStack::IsIPv4("127.0.0.1"));
    EXPECT_FALSE(TIdStack::IsIPv4("256.0.0.1"));
    EXPECT_FALSE(TIdStack::IsIPv4("1.2.3"));
    EXPECT_FALSE(TIdStack::IsIPv4("1.2.3.4.5"));
}

TEST(TIdTCPClient, StatusNotificationsInOrder) {
    ScriptedServer server({{Action::WaitForPeerClose()}});
    TIdTCPClient c;
    std::vector<std::string> seen;
    c.OnStatus = [&](TIdComponent*, TIdStatus, const std::string& text) { seen.push_back(text); };
    int connected = 0, disconnected = 0;
    c.OnConnected = [&](TIdComponent*) { ++connected; };
    c.OnDisconnected = [&](TIdComponent*) { ++disconnected; };
    c.Connect("localhost", server.Port());
    c.Disconnect();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0], "Resolving hostname localhost.");
    EXPECT_EQ(seen[1], "Connecting to 127.0.0.1.");
    EXPECT_EQ(seen[2], "Connected.");
    EXPECT_EQ(seen[3], "Disconnecting.");
    EXPECT_EQ(seen[4], "Disconnected.");
    EXPECT_EQ(connected, 1);
    EXPECT_EQ(disconnected, 1);
}
