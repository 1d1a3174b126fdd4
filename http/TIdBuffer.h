#pragma once
// A byte FIFO: the connection's input buffer and its write buffer.
//
// The content is the bytes from a head offset on. Taking bytes from the front only moves the head;
// once more than 2048 consumed bytes lie before it the content moves back to the start, so a long
// stream read in small pieces does not move the whole buffer for every piece. Appending moves the
// content to the start first and grows the array to size + n + 2048 when the room is short.
#include <cstddef>
#include <string>
#include <string_view>

class TIdBuffer {
public:
    static constexpr int kMaxSize = 2147483647;
    static constexpr int kSlack = 2048;

    TIdBuffer() = default;
    ~TIdBuffer();
    TIdBuffer(const TIdBuffer&) = delete;
    TIdBuffer& operator=(const TIdBuffer&) = delete;

    int Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    // The content, Size() bytes from the head.
    const char* Data() const { return data_ + head_; }
    char operator[](int i) const { return data_[head_ + i]; }

    void Write(const char* bytes, std::size_t n);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Room for n more bytes at the end, to be filled in place (a receive writes here directly);
    // CommitWrite then says how many were filled.
    char* PrepareWrite(std::size_t n);
    void CommitWrite(std::size_t n);

    // Drops n bytes from the front.
    void Remove(int n);
    // Moves n bytes from the front to the end of out.
    void ExtractToBytes(std::string& out, int n);
    std::string Extract(int n);
    // Moves up to n bytes from the front into dst; returns how many.
    int ExtractTo(char* dst, int n);
    void Clear();

    // Index of the first occurrence of bytes at or after start (relative to the head), or -1.
    int IndexOf(std::string_view bytes, int start = 0) const;

    // The length of the underlying array (for tests of the growth rules).
    int ArrayLength() const { return static_cast<int>(length_); }

private:
    void checkTake(int n) const;
    void compactToStart();
    void setLength(std::size_t n);

    char* data_ = nullptr;
    std::size_t length_ = 0;   // logical array length
    std::size_t capacity_ = 0; // allocated bytes (>= length_), grows geometrically
    int head_ = 0;
    int size_ = 0;
};
