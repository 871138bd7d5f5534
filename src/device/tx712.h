#pragma once
#include <string>

#include "device/transfer_env.h"

namespace gyrel {

class FrameSender;

// The V712 text protocol: the program text typed one character at a time, each
// line answered by the device with a reply ending in ">", and the single
// command lines of the row table ("PRG="), "DFT=" and "RST=".
class Text712 {
public:
    Text712(TransferEnv& env, FrameSender& sender) : env_(env), sender_(sender) {}

    // Start of a program download: buffers emptied, text mode, "|" sent, FinRisp cleared.
    void beginDownload();
    // One character of program text.
    void Tx712(char ch);
    // CommandText & CR LF through Tx712, holding port user 16; the title shows in the progress window.
    void Invia712(const std::string& title);

    // A row of the row table: output i+1 with the texts of its OFS, CON and COF boxes.
    // programNumber is the program-number box's text; caption the button's caption.
    void PulsInvio(int i, const std::string& programNumber, const std::string& ofs, const std::string& con,
                   const std::string& cof, const std::string& caption);
    void CmdDFT(const std::string& programNumber);
    void CmdRST(const std::string& programNumber);

    // False once the port failed; the caller stops sending.
    bool lineUp() const { return lineUp_; }

    std::string CommandText;
    bool InComment = false;
    bool LineStarted = false;
    std::string ReplyText;
    // Lines awaited and lines whose reply was not "OK" since beginDownload / Invia712.
    int linesAwaited = 0;
    int rejectedLines = 0;

    static constexpr int kReplyWaitMs = 15000;
    static constexpr int kReplyPollMs = 5;

private:
    void send(char ch);
    void collect();
    void awaitReply();

    TransferEnv& env_;
    FrameSender& sender_;
    bool lineUp_ = true;
};

}  // namespace gyrel
