#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "device/rebuild.h"  // generalDateNow
#include "editor/program_list.h"
#include "platform/file_system.h"

namespace gyrel {

// Layout of a DESKPL file: a 16-byte header, then 16 program records.
namespace deskpl {
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRecordSize = 20561;
constexpr std::size_t kMinFileSize = kHeaderSize + 16 * kRecordSize;  // 328992
constexpr std::size_t kCounts = 1;          // 16 x int16
constexpr std::size_t kAngles = 33;         // 16 x 255 x float
constexpr std::size_t kKinds = 16353;       // 16 x 255 bytes
constexpr std::size_t kOnOffsets = 20433;   // 16 x float
constexpr std::size_t kOffOffsets = 20497;  // 16 x float
constexpr int kEntries = 255;
}  // namespace deskpl

// What one conversion needs besides the file itself.
struct DeskplOptions {
    std::string deskplPath;   // local path; DecodeDPL names it in Windows-1252 in every header
    std::string listBase;     // stem of the generated names
    std::string extension;    // FileExtension
    double maxPosition = 3599;
    std::string dateText;     // "general date" of the import
    std::string importedOn = "Imported on ";  // MsgText 48
    std::string fromFile = " from file ";     // MsgText 49
    std::string programNo = "Program # ";     // MsgText 50
};

struct DeskplResult {
    bool ok = true;
    std::string why;                   // what was wrong, for logs and the command line
    SlotPaths paths;                   // generated file of program n at index n-1
    std::vector<std::string> written;  // generated files, in record order
};

// The text of one record (index 0..15) of a file held in memory, or false with
// `why` when the record is bad. `inUse` false: the record is empty, no text.
bool convertDeskplRecord(const std::string& file, int record, const DeskplOptions& opt, bool& inUse,
                         int& program, std::string& text, std::string& why);

// Reads the DESKPL file and writes one program file per record in use
// (listBase + "_" + n + "." + extension). A bad record stops the conversion;
// files written before it stay and are listed in the result.
DeskplResult DecodeDPL(FileSystem& fs, const std::string& path, const DeskplOptions& opt);

// A single-precision value as the general number format writes it: a whole
// number without a fraction, otherwise up to seven significant digits.
std::string formatSingle(float v);

}  // namespace gyrel
