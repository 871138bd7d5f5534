#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/context.h"
#include "editor/editor_state.h"

namespace gyrel {

class SerialLink;

// Box backgrounds of the preset and origin grid.
constexpr Rgb kOriginIdle{255, 255, 255};
constexpr Rgb kOriginPending{255, 204, 204};
constexpr Rgb kOriginConfirmed{204, 255, 204};
constexpr Rgb kOriginTooHigh{238, 255, 51};
// Stands in a box that holds no valid value.
constexpr const char* kOriginPlaceholder = " .   .   .   .   . ";

// One row of the grid: program i+1.
struct OriginRow {
    std::string TxtPreset;
    std::string TxtOrigin;
    Rgb presetBack = kOriginIdle;
    Rgb originBack = kOriginIdle;
};

// The preset and origin dialog: reads, edits, clones and writes the preset and
// origin values of the 16 programs, one small binary exchange per program.
class OriginDialog {
public:
    OriginDialog(Context& ctx, SerialLink& link, WaitView& wait) : ctx_(ctx), link_(link), wait_(wait) {}

    std::array<OriginRow, 16> rows;
    bool ChkOrig = false;
    bool visible = false;
    std::array<int, 20> OriginFrame{};
    // Called whenever the boxes change, so a window can redraw during an exchange.
    std::function<void()> changed;

    void show() { visible = true; }
    void hide() { visible = false; }

    void PulsRx();
    void PulsTx();
    void PulsClonaPres();
    void PulsClonaOrig();
    void ChkOrigClick(bool ticked);
    // Typing in a box: the value is no longer the one the device confirmed.
    void presetEdited(int program, const std::string& text);
    void originEdited(int program, const std::string& text);
    bool originEnabled() const { return ChkOrig; }

    // Sends a read (mode 0) or write (mode 1) request for a program; false when the
    // port could not be had or failed.
    bool TxOrigine(int program, int mode);
    // The dialog's wait: two timer periods of ms / 2.
    void Pausa(int ms);

    // Outcome of the last read or write, per program: true = confirmed by the device.
    std::array<bool, 16> confirmed{};

private:
    // Waits up to 11 x 100 ms for `need` bytes; false when the 11th wait passed.
    bool awaitBytes(int need);
    void endWait(int asked, bool lineLost);
    bool refuseInvalid();
    void notify() {
        if (changed) changed();
    }

    Context& ctx_;
    SerialLink& link_;
    WaitView& wait_;
};

}  // namespace gyrel
