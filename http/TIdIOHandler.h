#pragma once
// The connection handler: buffered reads (lines, exact counts, streams) and buffered writes over
// a transport that descendants provide (a socket, or bytes in memory for tests and fuzzing).
#include "http/IdGlobal.h"
#include "http/TIdBuffer.h"
#include "http/TIdComponent.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TIdStream;

class TIdIOHandler : public TIdComponent {
public:
    TIdIOHandler();
    ~TIdIOHandler() override;

    // Connection target and settings, copied from the client at every connect.
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& h) { host_ = h; }
    int Port() const { return port_; }
    void SetPort(int p) { port_ = p; }
    int ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int ms) { connectTimeout_ = ms; }
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms; }
    int RecvBufferSize() const { return recvBufferSize_; }
    void SetRecvBufferSize(int n) { recvBufferSize_ = n > 0 ? n : kIdDefaultBufferSize; }
    int SendBufferSize() const { return sendBufferSize_; }
    void SetSendBufferSize(int n) { sendBufferSize_ = n > 0 ? n : kIdDefaultBufferSize; }
    int MaxLineLength() const { return maxLineLength_; }
    void SetMaxLineLength(int n) { maxLineLength_ = n; }
    TIdMaxLineAction MaxLineAction() const { return maxLineAction_; }
    void SetMaxLineAction(TIdMaxLineAction a) { maxLineAction_ = a; }
    bool UseNagle() const { return useNagle_; }
    void SetUseNagle(bool b) { useNagle_ = b; }
    TIdIPVersion IPVersion() const { return ipVersion_; }
    void SetIPVersion(TIdIPVersion v) { ipVersion_ = v; }

    // An overall deadline over every wait until it is cleared: a wait is cut short at it, and a
    // read that would wait past it raises EIdDeadlineExceeded naming budgetMs. The zero-time poll
    // of Connected is not bounded by it.
    void SetDeadline(std::chrono::steady_clock::time_point at, int budgetMs);
    void ClearDeadline() { hasDeadline_ = false; }
    bool HasDeadline() const { return hasDeadline_; }
    // Milliseconds left before the deadline, at least 1; raises EIdDeadlineExceeded once it has
    // passed. Only with a deadline set.
    int DeadlineLeft() const;
    // Raises EIdDeadlineExceeded when a deadline is set and has passed.
    void CheckDeadline() const;

    // Flags of the last ReadLn.
    bool ReadLnSplit() const { return readLnSplit_; }
    bool ReadLnTimedOut() const { return readLnTimedOut_; }

    // Bytes received since the last Open.
    std::uint64_t BytesReceived() const { return bytesReceived_; }

    bool Opened() const { return opened_; }
    bool ClosedGracefully() const { return closedGracefully_; }
    TIdBuffer& InputBuffer() { return *inputBuffer_; }

    // Opens the handler: fresh input buffer, closed-gracefully flag cleared; a socket handler also
    // connects here.
    virtual void Open();
    // Closes the transport; the input buffer keeps its content until the next Open.
    virtual void Close();
    // The open-connection test: one receive that does not wait (so a peer's close is noticed),
    // then usable when open and not closed by the peer, or when unread bytes remain.
    bool Connected();
    // Whether the transport (the socket) is there.
    virtual bool SourceAllocated() const = 0;

    // TLS over the open connection, for a handler that can speak it (not this one): the HTTP
    // client connects plain, then asks for TLS with the server it means, directly or inside a
    // proxy's tunnel.
    virtual bool TLSCapable() const { return false; }
    // Turns the open connection into TLS, verifying that the server is serverName.
    virtual void StartTLS(const std::string& serverName);
    // Whether the connection speaks TLS now.
    virtual bool TLSActive() const { return false; }

    // Counts as disconnected after a close by the peer (closing our end) or without a transport;
    // then raises EIdConnClosedGracefully when asked, unless buffered bytes remain and the buffer is
    // not ignored.
    void CheckForDisconnect(bool raiseIfDisconnected = true, bool ignoreBuffer = false);
    // Waits for and receives one piece into the input buffer. Returns the count received, 0 when
    // disconnected without raising, -1 on a time-out without raising.
    int ReadFromSource(bool raiseIfDisconnected = true, int timeout = kIdTimeoutDefault,
                       bool raiseOnTimeout = true);

    // One line without its terminator; with the LF terminator one CR before it goes too. A line
    // longer than maxLineLength (negative: MaxLineLength) raises or splits as MaxLineAction says.
    std::string ReadLn(std::string_view terminator = "\n", int timeout = kIdTimeoutDefault,
                       int maxLineLength = -1);
    // Appends exactly n bytes to into.
    void ReadBytes(std::string& into, int n);
    // Reads byteCount bytes (or, with readUntilDisconnect or a negative count, everything until
    // the peer closes) into the stream at its position.
    void ReadStream(TIdStream& stream, std::int64_t byteCount = -1, bool readUntilDisconnect = false);
    // One receive of at most n body bytes straight into the stream at its end, when nothing is
    // buffered and the stream takes bytes in place, which saves copying them out of the input
    // buffer. The number received; -1 when it cannot (the caller receives into the buffer
    // instead). A close by the peer raises EIdConnClosedGracefully, a wait past the read time-out
    // EIdReadTimeout.
    std::int64_t ReadDirect(TIdStream& stream, std::size_t n);

    void Write(const char* bytes, std::size_t n);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // The text and CR LF, as one piece.
    void WriteLn(std::string_view line);

    // While the write buffer is open, writes collect in it; a positive threshold sends that many
    // bytes whenever the buffer reaches it (-1: never on its own).
    void WriteBufferOpen(int threshold = -1);
    // Sends everything collected at once and drops the buffer.
    void WriteBufferClose();
    // Drops what was collected, then closes the buffer.
    void WriteBufferCancel();
    bool WriteBufferingActive() const { return writeBuffer_ != nullptr; }

protected:
    // Transport primitives. Readable waits at most timeoutMs (negative: without limit).
    virtual bool Readable(int timeoutMs) = 0;
    // One receive of at most n bytes; 0 when the peer has closed.
    virtual std::size_t Recv(char* buffer, std::size_t n) = 0;
    // One receive that does not wait: false when nothing has arrived yet, or when the transport
    // cannot tell without waiting (then the caller waits with Readable and uses Recv).
    virtual bool RecvNow(char* buffer, std::size_t n, std::size_t& got) {
        (void)buffer, (void)n, (void)got;
        return false;
    }
    // One send; the number of bytes that left.
    virtual std::size_t Send(const char* bytes, std::size_t n) = 0;
    // Closes the transport (the socket).
    virtual void CloseSource() = 0;
    // Raises EIdDeadlineExceeded for a wait that the deadline ended.
    [[noreturn]] void raiseDeadline() const;

private:
    void writeDirect(const char* bytes, std::size_t n);
    // The wait for a read: the time-out asked for (kIdTimeoutDefault: ReadTimeout), cut to the
    // deadline; -1 for no limit. cutByDeadline tells whether the deadline is what ends it.
    int effectiveTimeout(int timeout, bool* cutByDeadline = nullptr) const;
    std::string takeLine(int length, std::size_t terminatorLength, bool dropCR);
    // One receive into dst, waiting at most waitMs (negative: the receive itself waits); false
    // when the wait ran out.
    bool receive(char* dst, std::size_t n, int waitMs, std::size_t& got);

    std::string host_;
    int port_ = 0;
    int connectTimeout_ = 0;
    int readTimeout_ = 0;
    int recvBufferSize_ = kIdDefaultBufferSize;
    int sendBufferSize_ = kIdDefaultBufferSize;
    int maxLineLength_ = kIdMaxLineLengthDefault;
    TIdMaxLineAction maxLineAction_ = maException;
    bool useNagle_ = true;
    TIdIPVersion ipVersion_ = Id_IPv4;

    bool hasDeadline_ = false;
    std::chrono::steady_clock::time_point deadline_;
    int deadlineBudgetMs_ = 0;

    std::uint64_t bytesReceived_ = 0;
    bool opened_ = false;
    bool closedGracefully_ = false;
    // The last receive filled all the room it had: more is likely waiting already.
    bool lastReceiveFull_ = false;
    bool readLnSplit_ = false;
    bool readLnTimedOut_ = false;
    std::unique_ptr<TIdBuffer> inputBuffer_;
    std::unique_ptr<TIdBuffer> writeBuffer_;
    int writeBufferThreshold_ = -1;
};
