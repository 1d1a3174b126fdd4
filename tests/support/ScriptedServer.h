#pragma once
// A scripted TCP server on 127.0.0.1 for the HTTP client's tests.
//
// It binds port 0, reads the chosen port back and listens in its constructor, so a client may
// connect as soon as the object exists; only then does its thread start. Each accepted connection
// runs the next script, one connection after another; a connection beyond the scripts is closed at
// once. Everything received is recorded. The destructor is the scope guard: it stops the thread
// (unblocking any wait) and joins it, also when a test assertion failed half-way.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zeltest {

// How the bytes of a Send leave the server.
enum class Delivery {
    Whole,          // one send call per action
    OneBytePerSend, // one send call per byte, Nagle off: the stream is cut at every point
};

class ScriptedConnection;

// One step of a connection's script.
struct Action {
    std::function<bool(ScriptedConnection&)> run; // false ends the script early

    // Reads up to and including the next empty line (CR LF CR LF) and records it as a request head.
    static Action ReadHead();
    // Reads exactly n bytes (a request body).
    static Action ReadBytes(std::size_t n);
    // Sends bytes, delivered as the server's Delivery mode says unless given here.
    static Action Send(std::string bytes);
    static Action Send(std::string bytes, Delivery delivery);
    // Sends the pattern again and again until the peer goes away or the server stops.
    static Action SendForever(std::string pattern);
    static Action Sleep(int ms);
    // Closes the connection in an orderly way (FIN); the script ends.
    static Action Close();
    // Closes with a reset (RST); the script ends.
    static Action Reset();
    // Waits until the peer has closed its side (or the server stops), recording what arrives.
    static Action WaitForPeerClose();
};

using Script = std::vector<Action>;

// The server side of one accepted connection, as the actions see it.
class ScriptedConnection {
public:
    ScriptedConnection(int fd, Delivery delivery, const std::atomic<bool>& stop);
    ~ScriptedConnection();

    bool ReadHead();
    bool ReadBytes(std::size_t n);
    bool Send(const std::string& bytes, Delivery delivery);
    bool SendForever(const std::string& pattern);
    void Close();
    void Reset();
    void WaitForPeerClose();
    Delivery DefaultDelivery() const { return delivery_; }
    // Every byte received on this connection so far.
    const std::string& Received() const { return received_; }
    bool PeerClosed() const { return peerClosed_; }
    // The request heads read on this connection so far.
    const std::vector<std::string>& Heads() const { return heads_; }

private:
    bool fill(); // one receive into received_; false on close, error or stop
    int fd_;
    Delivery delivery_;
    const std::atomic<bool>& stop_;
    std::string received_;
    std::size_t consumed_ = 0;
    bool peerClosed_ = false;
    std::vector<std::string> heads_;
};

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<Script> scripts, Delivery delivery = Delivery::Whole);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port_; }
    // The request heads read so far, over all connections, in order.
    std::vector<std::string> Requests() const;
    // Everything received on each finished or running connection, in order of acceptance.
    std::vector<std::string> Received() const;
    int Accepted() const { return accepted_.load(); }
    // Waits until n scripts have run to their end; false when the time ran out.
    bool WaitScriptsDone(int n, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Stops and joins now (the destructor does it too).
    void Stop();

private:
    void run();
    std::vector<Script> scripts_;
    Delivery delivery_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    mutable std::mutex mutex_;
    mutable std::condition_variable done_;
    int scriptsDone_ = 0;
    std::vector<std::string> requests_;
    std::vector<std::string> received_;
    std::thread thread_;
};

// A canned HTTP response: status line, header lines, then the body.
std::string HttpResponse(const std::string& statusLine, const std::vector<std::string>& headers,
                         const std::string& body);

} // namespace zeltest
