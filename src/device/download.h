#pragma once
#include <string>

#include "device/transfer_env.h"
#include "device/tx712.h"
#include "device/txdati.h"

namespace gyrel {

// The editor's download command and its small buttons.
class DownloadCommand {
public:
    explicit DownloadCommand(TransferEnv& env) : env_(env), sender(env), text712(env, sender) {}

    // Command2: the program in the editor (or every slot file in multiple-file
    // mode) into the device, in the model's encoding or the V712 text protocol.
    void Command2();
    // Command1 "Clear": empties the communication log.
    void Command1() { env_.ed.Text2.clear(); }
    // ButtVerificaPrg "VERIFY": check only.
    void ButtVerificaPrg();
    // Command5 "Append--->": the offsets panel written into the program text.
    void Command5();

    // How the last Command2 ended (for callers that report it).
    enum class Outcome { Sent, Declined, CheckFailed, Refused, TransmissionError, Cancelled, NoPort, Busy };
    Outcome lastOutcome = Outcome::Sent;

private:
    void newGeneration();
    bool singleProgram();
    void multipleFiles();
    bool askEmptyProgram();
    bool sendPrepared();
    void oldGeneration();
    void showOutcome();

    TransferEnv& env_;

public:
    FrameSender sender;
    Text712 text712;
};

}  // namespace gyrel
