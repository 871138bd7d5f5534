#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/cam_table.h"

namespace gyrel {

// One binary frame of the device protocol: 19 bytes, the last one a checksum.
using Frame19 = std::array<std::uint8_t, 19>;

// The 8-bit running sum of bytes[0..count-1], carry dropped.
std::uint8_t byteSum(const std::uint8_t* bytes, int count);
// Host frames sum bytes 0..17 into byte 18.
void sealFrame(Frame19& frame);
bool frameSealed(const Frame19& frame);

enum class FrameEncoding { Standard, HighResolution };

// "Px71", "V820HX" and "KMT71" take 32-bit entries; every other binary model 16-bit ones.
FrameEncoding encodingFor(const std::string& modelType);

// Why a prepared table must not go to the device: a title and a prompt for the
// message box. A table the device cannot hold is refused whole rather than cut.
struct DownloadRefusal {
    std::string title;
    std::string prompt;
};
std::optional<DownloadRefusal> checkDownloadable(const CamTable& table, int programIndex);

// The frames of one program in sending order: header, position pages, mask pages.
// An empty table goes as one change point at position 0 with every output off.
// Standard pages clear their payload only before the first page of each
// command, so a short last page repeats the tail of the page before it; the
// device reads only the entries the header counts.
std::vector<Frame19> buildDownloadFrames(const CamTable& table, int programIndex, FrameEncoding encoding);

}  // namespace gyrel
