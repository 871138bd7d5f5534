#pragma once
#include "app/context.h"

namespace gyrel {

// Held for the whole of one conversation with the device (a download, a V712
// exchange, an upload, an origin exchange). While any is held the status
// monitor sends nothing and starts no polling loop inside it, the serial
// dialog does not scan the ports, and windows that carry the conversation
// are not freed: closing them waits for its end.
class LineClaim {
public:
    explicit LineClaim(Context& ctx) : ctx_(ctx) { ++ctx_.LineClaims; }
    ~LineClaim() { --ctx_.LineClaims; }
    LineClaim(const LineClaim&) = delete;
    LineClaim& operator=(const LineClaim&) = delete;

private:
    Context& ctx_;
};

}  // namespace gyrel
