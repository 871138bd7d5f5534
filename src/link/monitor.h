#pragma once
#include <string>

#include "app/context.h"
#include "link/status_frame.h"

namespace gyrel {

class SerialLink;

// The live display of the main window: what a status frame shows, the off-line
// state, the beeps at loss and return of the device, the minimized title and the
// position test. Writes go to ctx.main and ctx.posTest; the windows only draw them.
class Monitor {
public:
    Monitor(Context& ctx, SerialLink& link);

    // Shows a decoded status frame (called by rx_msg right after classifying it;
    // the link has already stored CurrentPosition and OutputBits).
    void showStatusFrame(const StatusFrame& frame);
    // Refreshes the display from the link's state (valid frame or off-line).
    void LeggiDato();
    // One step of the position test.
    void VerificaQuote();

    // Menu items "Test Pos" and "Enable ECON" clicked.
    void TestEncoderClick();
    void EnbEconClick();
    // The window was resized (ctx.main.minimized tells whether it is now minimized).
    void windowResized();
    // "GYREL Utility --  COM 1  -  9600".
    std::string normalTitle() const;

    double LastShownPosition = -1;
    bool WasOffline = false;
    bool WasOnline = false;
    double PrevTestPosition = 0;
    int TestErrorCount = 0;

private:
    std::string comLabel(const std::string& gap) const;
    void setTitle(const std::string& title);
    void setOutputs(bool valid);

    Context& ctx_;
    SerialLink& link_;
};

// Plain number text of a whole position or step ("1234", "-30").
std::string numberText(double v);
// The position as FinQuota shows it for the model: tenths ("359.9") or plain ("3599").
std::string positionText(double position, const ModelGlobals& model);
// Leading numeric value of a text, as a field's text is read ("12abc" -> 12, "" -> 0).
double numericValue(const std::string& text);
// A tolerance text as a 16-bit whole number: rounded half to even, kept within range.
int toleranceValue(const std::string& text);

}  // namespace gyrel
