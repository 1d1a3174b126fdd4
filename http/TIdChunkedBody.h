#pragma once
// The decoder of a chunked body. It takes bytes from the front of a connection's input buffer as
// far as they go, writes the chunks' data to a stream and leaves everything after the body's end
// in the buffer, where the next response begins. Fed again when more bytes have arrived, it goes
// on where it stopped; it never touches a socket, so it runs on any buffer.
//
//   TIdChunkedBody chunks(io.MaxLineLength(), trailerLineLimit);
//   chunks.Read(io, stream);     // or: while (!chunks.Feed(buffer, stream)) { receive more }
#include <cstdint>
#include <string>

class TIdBuffer;
class TIdIOHandler;
class TIdStream;

class TIdChunkedBody {
public:
    // What the decoder waits for next.
    enum class State {
        SizeLine,   // a chunk-size line (the last chunk has size 0)
        ChunkData,  // the rest of the current chunk's data
        DataEnd,    // the CRLF that closes a chunk's data
        TrailerLine // a trailer line, or the empty line that ends the body
    };

    // maxLineLength bounds a size or trailer line (0 or less: no bound); trailerLineLimit the
    // trailer lines (0 or less: no bound).
    TIdChunkedBody(int maxLineLength, int trailerLineLimit);

    // Takes what it can from the front of in and writes chunk data to out. True once the body has
    // ended; the bytes after it stay in in. Raises EIdHTTPMalformedResponse for bytes that break
    // the framing, EIdReadLnMaxLineLengthExceeded for an overlong line and EIdHTTPHeadTooLarge
    // past the trailer line limit.
    bool Feed(TIdBuffer& in, TIdStream& out);
    // Feeds the handler's input buffer and receives more until the body has ended. A close by the
    // peer before the end raises EIdConnClosedGracefully.
    void Read(TIdIOHandler& io, TIdStream& out);

    State WaitingFor() const { return state_; }
    bool Done() const { return done_; }

private:
    // A whole line at the front of in, without its end; false while it is incomplete.
    bool takeLine(TIdBuffer& in, std::string& line);
    void onSizeLine(const std::string& line);
    // Consumes the CRLF after a chunk's data; false while it is incomplete.
    bool takeDataEnd(TIdBuffer& in);
    void onTrailerLine(const std::string& line);

    int maxLineLength_;
    int trailerLineLimit_;
    State state_ = State::SizeLine;
    bool done_ = false;
    std::int64_t chunkLeft_ = 0;
    int trailers_ = 0;
    // How far the front of the buffer was searched for a line end without finding one.
    int searched_ = 0;
};
