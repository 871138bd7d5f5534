#include "device/download_frames.h"

namespace gyrel {

std::uint8_t byteSum(const std::uint8_t* bytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void sealFrame(Frame19& frame) { frame[18] = byteSum(frame.data(), 18); }

bool frameSealed(const Frame19& frame) { return frame[18] == byteSum(frame.data(), 18); }

FrameEncoding encodingFor(const std::string& modelType) {
    if (modelType == "Px71" || modelType == "V820HX" || modelType == "KMT71") return FrameEncoding::HighResolution;
    return FrameEncoding::Standard;
}

std::optional<DownloadRefusal> checkDownloadable(const CamTable& table, int programIndex) {
    if (programIndex < 0 || programIndex > 15) {
        return DownloadRefusal{"Program number",
                               "Program # " + std::to_string(programIndex + 1) +
                                   " does not exist on the encoder (1 .. 16).\r\nNothing was sent."};
    }
    if (table.CamCount > CamTable::kMaxStored) {
        const long long n = static_cast<long long>(table.CamCount);
        return DownloadRefusal{"too much cams", "Programmed " + std::to_string(n) +
                                                    " camms\r\nMAX NUM of CAMS = 120 !!!\r\nNothing was sent."};
    }
    return std::nullopt;
}

namespace {

// Lays the entries of one table column into pages of `perPage` entries of `width` bytes.
void addPages(std::vector<Frame19>& frames, std::uint8_t command,
              const std::array<std::array<std::uint8_t, CamTable::kSlots>, 4>& column, int count, int width,
              bool clearEveryPage) {
    Frame19 frame{};
    frame[0] = command;
    int page = 0;
    int at = 2;
    for (int i = 0; i < count; ++i) {
        frame[1] = static_cast<std::uint8_t>(page);
        for (int b = 0; b < width; ++b) frame[at++] = column[b][i];
        if (i == count - 1 || at >= 18) {
            sealFrame(frame);
            frames.push_back(frame);
            ++page;
            at = 2;
            if (clearEveryPage) {
                for (int k = 1; k <= 17; ++k) frame[k] = 0;
            }
        }
    }
}

}  // namespace

std::vector<Frame19> buildDownloadFrames(const CamTable& source, int programIndex, FrameEncoding encoding) {
    CamTable table = source;
    int count = table.storedCount();
    if (count == 0) {
        count = 1;
        table.set(0, 0, 0);
    }
    const bool hiRes = encoding == FrameEncoding::HighResolution;

    std::vector<Frame19> frames;
    Frame19 header{};
    header[0] = 1;
    header[2] = static_cast<std::uint8_t>(programIndex);
    if (hiRes) {
        header[4] = static_cast<std::uint8_t>(count & 0xFF);
        header[5] = static_cast<std::uint8_t>((count >> 8) & 0xFF);
    } else {
        header[3] = static_cast<std::uint8_t>(count);
    }
    sealFrame(header);
    frames.push_back(header);

    const int width = hiRes ? 4 : 2;
    addPages(frames, 2, table.CamTablePos, count, width, hiRes);
    addPages(frames, 3, table.CamTableMask, count, width, hiRes);
    return frames;
}

}  // namespace gyrel
