// Decoding a chunked body, the grammar being:
//
//   chunked-body   = *chunk last-chunk trailer-section CRLF
//   chunk          = chunk-size [ chunk-ext ] CRLF chunk-data CRLF
//   chunk-size     = 1*HEXDIG
//   last-chunk     = 1*"0" [ chunk-ext ] CRLF
//   chunk-ext      = *( BWS ";" BWS ext-name [ BWS "=" BWS ext-value ] )
//   trailer-section = *( field-line CRLF )
//
// Each state waits for one piece of it: the size line, the chunk's data, the CRLF behind the
// data, the trailer lines up to the empty one. Extensions and trailer fields mean nothing to
// us and are skipped unread.
//
// What is accepted beyond the grammar is marked "Compatibility:" where it is decided. What is
// never accepted: a size that is not hexadecimal or does not fit a signed 32-bit number, and
// anything but a line end behind a chunk's data. Either would leave the body's end to a guess,
// and a wrong guess hands the rest of the body to the next response as its head.
#include "http/TIdChunkedBody.h"

#include "http/EIdException.h"
#include "http/TIdBuffer.h"
#include "http/TIdIOHandler.h"
#include "http/TIdStream.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

// At most a few bytes of what the server sent, control bytes shown as "?", for a message.
std::string shown(std::string_view bytes) {
    std::string out;
    for (char c : bytes.substr(0, 24))
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The size that a chunk-size line announces.
std::int64_t chunkSize(std::string_view line) {
    // Compatibility: blanks before the size are skipped, and a blank ends the size as ";" does,
    // whatever follows it; servers that pad their size lines are common.
    std::size_t b = line.find_first_not_of(" \t");
    line = b == std::string_view::npos ? std::string_view() : line.substr(b);
    std::string_view text = line.substr(0, line.find_first_of(" \t;"));
    std::int64_t size = 0;
    bool valid = !text.empty();
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0 || (size = size * 16 + digit) > std::numeric_limits<std::int32_t>::max()) {
            valid = false;
            break;
        }
    }
    if (!valid)
        throw EIdHTTPMalformedResponse("Invalid chunk size \"" + shown(line) + "\" in a chunked body.");
    return size;
}

} // namespace

TIdChunkedBody::TIdChunkedBody(int maxLineLength, int trailerLineLimit)
    : maxLineLength_(maxLineLength), trailerLineLimit_(trailerLineLimit) {}

bool TIdChunkedBody::takeLine(TIdBuffer& in, std::string& line) {
    // The search resumes where the last one stopped, so a line arriving in pieces is scanned once.
    const int found = in.Size() > searched_ ? in.IndexOf("\n", searched_) : -1;
    const bool tooLong =
        maxLineLength_ > 0 && (found > maxLineLength_ || (found < 0 && in.Size() > maxLineLength_));
    if (tooLong)
        throw EIdReadLnMaxLineLengthExceeded();
    if (found < 0) {
        searched_ = in.Size();
        return false;
    }
    searched_ = 0;
    line = in.Extract(found);
    in.Remove(1);
    // Compatibility: a bare LF ends a line as CRLF does.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

void TIdChunkedBody::onSizeLine(const std::string& line) {
    chunkLeft_ = chunkSize(line);
    state_ = chunkLeft_ == 0 ? State::TrailerLine : State::ChunkData;
}

bool TIdChunkedBody::takeDataEnd(TIdBuffer& in) {
    if (in.Empty())
        return false;
    // Compatibility: a bare LF closes the data as CRLF does.
    if (in[0] == '\n') {
        in.Remove(1);
        return true;
    }
    if (in[0] == '\r') {
        if (in.Size() < 2)
            return false;
        if (in[1] == '\n') {
            in.Remove(2);
            return true;
        }
    }
    throw EIdHTTPMalformedResponse("A chunk's data is not followed by a line end in a chunked body.");
}

void TIdChunkedBody::onTrailerLine(const std::string& line) {
    if (line.empty()) {
        done_ = true;
        return;
    }
    if (trailerLineLimit_ > 0 && ++trailers_ > trailerLineLimit_)
        throw EIdHTTPHeadTooLarge("Chunked body has more than " + std::to_string(trailerLineLimit_) +
                                  " trailer lines.");
}

bool TIdChunkedBody::Feed(TIdBuffer& in, TIdStream& out) {
    std::string line;
    while (!done_) {
        switch (state_) {
        case State::SizeLine:
            if (!takeLine(in, line))
                return false;
            onSizeLine(line);
            break;
        case State::ChunkData: {
            const int take = static_cast<int>(std::min<std::int64_t>(chunkLeft_, in.Size()));
            if (take == 0)
                return false;
            out.Write(in.Data(), static_cast<std::size_t>(take));
            in.Remove(take);
            chunkLeft_ -= take;
            if (chunkLeft_ == 0)
                state_ = State::DataEnd;
            break;
        }
        case State::DataEnd:
            if (!takeDataEnd(in))
                return false;
            state_ = State::SizeLine;
            break;
        case State::TrailerLine:
            if (!takeLine(in, line))
                return false;
            onTrailerLine(line);
            break;
        }
    }
    return true;
}

void TIdChunkedBody::Read(TIdIOHandler& io, TIdStream& out) {
    while (!Feed(io.InputBuffer(), out)) {
        // A chunk's data with nothing buffered is received straight into the stream; only the
        // size lines and what arrives with them pass through the buffer.
        if (state_ == State::ChunkData) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(chunkLeft_, io.RecvBufferSize()));
            if (const std::int64_t got = io.ReadDirect(out, want); got >= 0) {
                chunkLeft_ -= got;
                if (chunkLeft_ == 0)
                    state_ = State::DataEnd;
                continue;
            }
        }
        // What is left in the buffer is part of a line or a line end: with the peer gone it
        // never completes.
        io.CheckForDisconnect(true, true);
        io.ReadFromSource(true, kIdTimeoutDefault, true);
    }
}
