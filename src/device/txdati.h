#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "device/download_frames.h"
#include "device/transfer_env.h"

namespace gyrel {

// Pausa's timer period: half the wait, rounded to the nearest whole number with
// halves to even; a wait below 2 ms is raised to 2 first.
int pausaHalf(int ms);

// The editor's binary download: each frame sent byte by byte, acknowledged by
// the device with 0xFF, resent after the 10th and 11th unanswered check, logged.
class FrameSender {
public:
    explicit FrameSender(TransferEnv& env) : env_(env) {}

    // Two timer periods of ms / 2 each, events pumped meanwhile; ms below 2 is raised to 2.
    void Pausa(int ms);
    // Empties both port buffers and lets the status monitor poll again.
    void RiprQuery();

    // Sends TxFrame (wire bytes at indices 1..19) and waits for its acknowledgement.
    void TxDati();

    // The whole prepared program in the standard or high-resolution encoding.
    // Result: TxError (false = every frame acknowledged).
    bool PreparaTx() { return sendProgram(FrameEncoding::Standard); }
    bool PreparaTxHiRes() { return sendProgram(FrameEncoding::HighResolution); }
    bool sendProgram(FrameEncoding encoding);

    std::array<std::uint8_t, 20> TxFrame{};  // index 0 unused
    bool TxError = false;
    int LastReplyCode = 0;
    // Frames acknowledged in the last program (the command line's progress).
    int framesAcknowledged = 0;
    int framesTotal = 0;
    bool cancelledByOperator = false;  // the last send ended by the progress window's Cancel
    // Called after every frame of a program (the command line shows its progress).
    std::function<void()> afterFrame;

private:
    bool sendFrameBytes();
    void failureEnd();

    TransferEnv& env_;
};

}  // namespace gyrel
