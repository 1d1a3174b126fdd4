#include "http/TIdIOHandler.h"

#include "http/EIdException.h"
#include "http/TIdStream.h"

#include <algorithm>
#include <chrono>
#include <limits>

TIdIOHandler::TIdIOHandler() : inputBuffer_(std::make_unique<TIdBuffer>()) {}

TIdIOHandler::~TIdIOHandler() = default;

void TIdIOHandler::Open() {
    closedGracefully_ = false;
    bytesReceived_ = 0;
    lastReceiveFull_ = false;
    inputBuffer_ = std::make_unique<TIdBuffer>();
    opened_ = true;
}

void TIdIOHandler::StartTLS(const std::string&) {
    throw EIdIOHandlerPropInvalid();
}

void TIdIOHandler::Close() {
    CloseSource();
    opened_ = false;
}

void TIdIOHandler::SetDeadline(std::chrono::steady_clock::time_point at, int budgetMs) {
    hasDeadline_ = true;
    deadline_ = at;
    deadlineBudgetMs_ = budgetMs;
}

void TIdIOHandler::CheckDeadline() const {
    if (hasDeadline_ && std::chrono::steady_clock::now() >= deadline_)
        raiseDeadline();
}

int TIdIOHandler::DeadlineLeft() const {
    CheckDeadline();
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count(), 1, std::numeric_limits<int>::max()));
}

void TIdIOHandler::raiseDeadline() const {
    throw EIdDeadlineExceeded("The request did not finish within " + std::to_string(deadlineBudgetMs_) +
                              " ms.");
}

int TIdIOHandler::effectiveTimeout(int timeout, bool* cutByDeadline) const {
    if (timeout == kIdTimeoutDefault)
        timeout = readTimeout_ > 0 ? readTimeout_ : kIdTimeoutInfinite;
    timeout = timeout < 0 ? -1 : timeout;
    if (cutByDeadline)
        *cutByDeadline = false;
    // A poll waits for nothing and so needs no bound.
    if (!hasDeadline_ || timeout == 0)
        return timeout;
    const int left = DeadlineLeft();
    if (timeout >= 0 && timeout < left)
        return timeout;
    // The wait ends at the deadline: if nothing comes by then, the deadline is what failed.
    if (cutByDeadline)
        *cutByDeadline = true;
    return left;
}

void TIdIOHandler::CheckForDisconnect(bool raiseIfDisconnected, bool ignoreBuffer) {
    bool disconnected = false;
    if (closedGracefully_) {
        if (SourceAllocated()) {
            CloseSource();
            DoStatus(hsDisconnected, "Disconnected.");
        }
        disconnected = true;
    } else {
        disconnected = !SourceAllocated();
    }
    if (disconnected && raiseIfDisconnected && (inputBuffer_->Empty() || ignoreBuffer))
        throw EIdConnClosedGracefully();
}

bool TIdIOHandler::receive(char* dst, std::size_t n, int waitMs, std::size_t& got) {
    // Without a time-out the receive itself waits; polling first would only add a call. With one,
    // bytes that are already there (the last receive was full) are taken without the poll.
    if (waitMs >= 0 && !(lastReceiveFull_ && RecvNow(dst, n, got))) {
        if (!Readable(waitMs))
            return false;
        got = Recv(dst, n);
    } else if (waitMs < 0) {
        got = Recv(dst, n);
    }
    lastReceiveFull_ = got == n;
    return true;
}

std::int64_t TIdIOHandler::ReadDirect(TIdStream& stream, std::size_t n) {
    if (n == 0 || !inputBuffer_->Empty() || !SourceAllocated() || closedGracefully_)
        return -1;
    std::size_t room = 0;
    char* direct = stream.PrepareDirect(n, room);
    if (!direct)
        return -1;
    bool cutByDeadline = false;
    std::size_t got = 0;
    bool arrived = false;
    try {
        const int waitMs = effectiveTimeout(kIdTimeoutDefault, &cutByDeadline);
        arrived = receive(direct, room, waitMs, got);
    } catch (...) {
        stream.CommitDirect(0);
        throw;
    }
    stream.CommitDirect(arrived ? got : 0);
    if (!arrived) {
        if (cutByDeadline)
            raiseDeadline();
        throw EIdReadTimeout();
    }
    bytesReceived_ += got;
    if (got == 0) {
        closedGracefully_ = true;
        CheckForDisconnect(true, true);
    }
    return static_cast<std::int64_t>(got);
}

int TIdIOHandler::ReadFromSource(bool raiseIfDisconnected, int timeout, bool raiseOnTimeout) {
    CheckForDisconnect(raiseIfDisconnected, false);
    if (!SourceAllocated()) {
        if (raiseIfDisconnected)
            throw EIdException("Not Connected");
        return 0;
    }
    bool cutByDeadline = false;
    const int waitMs = effectiveTimeout(timeout, &cutByDeadline);
    std::size_t got = 0;
    do {
        std::size_t want = static_cast<std::size_t>(recvBufferSize_);
        char* dst = inputBuffer_->PrepareWrite(want);
        bool arrived = false;
        try {
            arrived = receive(dst, want, waitMs, got);
        } catch (...) {
            inputBuffer_->CommitWrite(0);
            throw;
        }
        inputBuffer_->CommitWrite(arrived ? got : 0);
        if (!arrived) {
            if (cutByDeadline)
                raiseDeadline();
            if (raiseOnTimeout)
                throw EIdReadTimeout();
            return -1;
        }
        bytesReceived_ += got;
        if (got == 0)
            closedGracefully_ = true;
        CheckForDisconnect(raiseIfDisconnected, false);
    } while (got == 0 && SourceAllocated());
    return static_cast<int>(got);
}

bool TIdIOHandler::Connected() {
    try {
        ReadFromSource(false, 0, false);
    } catch (const EIdSocketError&) {
        // A connection the peer reset is simply not usable; the caller opens a new one.
        CloseSource();
    }
    bool buffered = !inputBuffer_->Empty();
    return (SourceAllocated() && opened_ && (!closedGracefully_ || buffered)) || buffered;
}

std::string TIdIOHandler::takeLine(int length, std::size_t terminatorLength, bool dropCR) {
    std::string line = inputBuffer_->Extract(length);
    inputBuffer_->Remove(static_cast<int>(terminatorLength));
    if (dropCR && !line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string TIdIOHandler::ReadLn(std::string_view terminator, int timeout, int maxLineLength) {
    if (terminator.empty())
        terminator = "\n";
    if (maxLineLength < 0)
        maxLineLength = maxLineLength_;
    readLnSplit_ = false;
    readLnTimedOut_ = false;
    const auto start = std::chrono::steady_clock::now();
    const bool explicitTimeout = timeout >= 0;
    int searched = 0;
    int found = -1;
    for (;;) {
        TIdBuffer& buf = *inputBuffer_;
        if (buf.Size() > searched) {
            // Resume where the last search stopped; a terminator may straddle the old end.
            int from = std::max(0, searched - static_cast<int>(terminator.size()) + 1);
            found = buf.IndexOf(terminator, from);
            searched = buf.Size();
        }
        bool tooLong =
            maxLineLength > 0 && (found > maxLineLength || (found < 0 && buf.Size() > maxLineLength));
        if (tooLong) {
            if (maxLineAction_ == maException)
                throw EIdReadLnMaxLineLengthExceeded();
            readLnSplit_ = true;
            return buf.Extract(maxLineLength);
        }
        if (found >= 0)
            return takeLine(found, terminator.size(), terminator == "\n");
        // A partial line that the peer closed without a terminator is not a line.
        CheckForDisconnect(true, true);
        ReadFromSource(true, timeout, !explicitTimeout);
        if (explicitTimeout) {
            auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            if (elapsed.count() >= timeout) {
                readLnTimedOut_ = true;
                return std::string();
            }
        }
    }
}

void TIdIOHandler::ReadBytes(std::string& into, int n) {
    if (n <= 0)
        return;
    while (inputBuffer_->Size() < n) {
        ReadFromSource(false, kIdTimeoutDefault, true);
        CheckForDisconnect(true, true);
    }
    inputBuffer_->ExtractToBytes(into, n);
}

void TIdIOHandler::ReadStream(TIdStream& stream, std::int64_t byteCount, bool readUntilDisconnect) {
    if (byteCount < 0)
        readUntilDisconnect = true;
    // No room is set aside from the announced count: it comes from the peer and is not trusted.
    // The stream grows with what actually arrives.
    std::int64_t remaining = readUntilDisconnect ? std::numeric_limits<std::int64_t>::max() : byteCount;
    if (!readUntilDisconnect)
        stream.ExpectSize(stream.Position() + byteCount);
    BeginWork(wmRead, readUntilDisconnect ? 0 : byteCount);
    std::string piece;
    auto moveBuffered = [&] {
        int take = static_cast<int>(std::min<std::int64_t>(inputBuffer_->Size(), remaining));
        if (take > 0) {
            stream.Write(inputBuffer_->Data(), static_cast<std::size_t>(take));
            inputBuffer_->Remove(take);
            remaining -= take;
            DoWork(wmRead, take);
        }
    };
    try {
        moveBuffered();
        while (remaining > 0) {
            std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(remaining, recvBufferSize_));
            const std::int64_t got = ReadDirect(stream, want);
            if (got >= 0) {
                // Nothing buffered: received straight into the stream, saving a copy per piece.
                remaining -= got;
                DoWork(wmRead, got);
            } else {
                piece.clear();
                ReadBytes(piece, static_cast<int>(want));
                stream.Write(piece.data(), piece.size());
                remaining -= static_cast<std::int64_t>(piece.size());
                DoWork(wmRead, static_cast<std::int64_t>(piece.size()));
            }
        }
    } catch (const EIdConnClosedGracefully&) {
        try {
            moveBuffered();
        } catch (...) {
            EndWork(wmRead);
            throw;
        }
        EndWork(wmRead);
        if (!readUntilDisconnect)
            throw;
        return;
    } catch (const EIdContentTooLarge&) {
        EndWork(wmRead);
        throw;
    } catch (...) {
        try {
            moveBuffered();
        } catch (...) {
        }
        EndWork(wmRead);
        throw;
    }
    EndWork(wmRead);
}

void TIdIOHandler::writeDirect(const char* bytes, std::size_t n) {
    CheckForDisconnect(true, true);
    if (!SourceAllocated())
        throw EIdNotConnected();
    BeginWork(wmWrite, static_cast<std::int64_t>(n));
    std::size_t off = 0;
    while (off < n) {
        std::size_t sent = Send(bytes + off, n - off);
        if (sent == 0) {
            closedGracefully_ = true;
            CheckForDisconnect(true, true);
        }
        off += sent;
        DoWork(wmWrite, static_cast<std::int64_t>(sent));
    }
    EndWork(wmWrite);
}

void TIdIOHandler::Write(const char* bytes, std::size_t n) {
    if (writeBuffer_) {
        writeBuffer_->Write(bytes, n);
        if (writeBufferThreshold_ > 0 && writeBuffer_->Size() >= writeBufferThreshold_) {
            std::string front = writeBuffer_->Extract(writeBufferThreshold_);
            writeDirect(front.data(), front.size());
        }
        return;
    }
    if (n > 0)
        writeDirect(bytes, n);
}

void TIdIOHandler::WriteLn(std::string_view line) {
    std::string piece;
    piece.reserve(line.size() + 2);
    piece.append(line);
    piece.append("\r\n");
    Write(piece.data(), piece.size());
}

void TIdIOHandler::WriteBufferOpen(int threshold) {
    if (!writeBuffer_)
        writeBuffer_ = std::make_unique<TIdBuffer>();
    writeBufferThreshold_ = threshold;
}

void TIdIOHandler::WriteBufferClose() {
    if (!writeBuffer_)
        return;
    // Dropped before sending, so a failed send leaves no half-written buffer behind.
    std::unique_ptr<TIdBuffer> pending = std::move(writeBuffer_);
    if (!pending->Empty())
        writeDirect(pending->Data(), static_cast<std::size_t>(pending->Size()));
}

void TIdIOHandler::WriteBufferCancel() {
    if (writeBuffer_)
        writeBuffer_->Clear();
    WriteBufferClose();
}
