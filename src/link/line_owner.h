#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "platform/serial_port.h"

namespace gyrel {

// The one owner of the serial line. Every conversation with the device (the
// status poll, a download, a V712 exchange, an upload, an origin exchange, the
// port scan, the shell jobs) claims the line here for as long as it runs and
// reaches the port only through it: emptying the buffers, setting the input
// mode, sending, taking what arrived, opening and closing. Port failures raise
// SerialError as the port does.
//
// Only one conversation holds the line at a time. The status poll's claim is
// the exception: it yields to a conversation started inside its wait (which
// first lets the status reply in flight finish), and is itself refused while a
// conversation runs, so the monitor sends nothing then.
class LineOwner {
public:
    enum class Kind { Conversation, Poll };

    // Held while the conversation runs; released when it goes out of scope,
    // also when an exception unwinds it. An empty claim (false) was refused.
    class Claim {
    public:
        Claim() = default;
        Claim(Claim&& other) noexcept;
        Claim& operator=(Claim&& other) noexcept;
        Claim(const Claim&) = delete;
        Claim& operator=(const Claim&) = delete;
        ~Claim() { release(); }

        explicit operator bool() const { return owner_ != nullptr; }
        // Who held the line when this claim was refused; empty when granted.
        const std::string& refusedBy() const { return refusedBy_; }
        void release();

    private:
        friend class LineOwner;
        Claim(LineOwner* owner, int id) : owner_(owner), id_(id) {}
        explicit Claim(std::string holder) : refusedBy_(std::move(holder)) {}
        LineOwner* owner_ = nullptr;
        int id_ = 0;
        std::string refusedBy_;
    };

    explicit LineOwner(SerialPort& port) : port_(port) {}
    LineOwner(const LineOwner&) = delete;
    LineOwner& operator=(const LineOwner&) = delete;

    // The line for `who`, or a refused claim naming the conversation holding it.
    Claim claim(const std::string& who, Kind kind = Kind::Conversation);
    // A conversation (not the status poll) holds the line.
    bool busy() const;
    // The conversation holding the line (the innermost claim); empty when free.
    std::string holder() const;

    bool isOpen() const { return port_.portOpen(); }
    void open() { port_.setPortOpen(true); }
    // Closing lets what was written leave first (bounded by its line time).
    void close() { port_.setPortOpen(false); }
    void emptyInput() { port_.setInBufferCount(0); }
    // Lets what was written leave first (bounded by its line time), then empties.
    void emptyOutput() { port_.setOutBufferCount(0); }
    void emptyBoth() {
        emptyInput();
        emptyOutput();
    }
    void setMode(InputMode mode) { port_.setInputMode(mode); }
    void send(const Bytes& bytes) { port_.output(bytes); }
    void send(std::uint8_t byte) { port_.output(Bytes{byte}); }
    int waiting() { return port_.inBufferCount(); }
    Bytes take() { return port_.input(); }

private:
    struct Holder {
        int id;
        std::string who;
        Kind kind;
    };
    void drop(int id);

    SerialPort& port_;
    std::vector<Holder> holders_;
    int nextId_ = 1;
};

}  // namespace gyrel
