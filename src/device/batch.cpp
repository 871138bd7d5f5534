#include "device/batch.h"

#include "platform/file_name_text.h"

namespace gyrel {

void wireSlotPanel(SlotPanel& slots, MultiFiles& mf) {
    slots.path = [&mf](int k) { return k >= 0 && k < 16 ? mf.panel.MultiPath[k] : std::string(); };
    slots.setPath = [&mf](int k, const std::string& p) {
        if (k >= 0 && k < 16) mf.panel.MultiPath[k] = p;
    };
    slots.markMissing = [&mf](int k, bool missing) {
        if (k >= 0 && k < 16) mf.panel.MultiPathBack[k] = missing ? kSlotMissing : kSlotNormal;
    };
    slots.setProgramNumber = [&mf](const std::string& t) {
        if (mf.hooks.setProgramNumber) mf.hooks.setProgramNumber(t);
    };
    slots.clearProgramFrame = [&mf] {
        if (mf.hooks.clearProgramFrame) mf.hooks.clearProgramFrame();
    };
    slots.selectList = [&mf] {
        mf.SelectList();
        return mf.panel.ListFilePath;
    };
    slots.saveList = [&mf] { mf.SaveList(); };
}

bool loadListFile(MultiFiles& mf, FileSystem& fs, const std::string& listPath, std::string* why) {
    std::string bytes;
    try {
        if (!fs.fileExists(listPath)) throw FileError(listPath + ": no such file");
        bytes = fs.readAll(listPath);
    } catch (const FileError& e) {
        if (why) *why = e.what();
        return false;
    }
    const ListReadResult r = parseList(bytes);
    if (!r.ok) {
        if (why) *why = listPath + ": a slot number outside 1..16";
        return false;
    }
    mf.panel.ListFilePath = listPath;
    for (int k = 0; k < 16; ++k) {
        mf.panel.MultiPath[k] = pathToOpen(fs, r.paths[k]);
        const std::string& p = mf.panel.MultiPath[k];
        mf.panel.MultiPathBack[k] = !p.empty() && !fs.fileExists(p) ? kSlotMissing : kSlotNormal;
    }
    return true;
}

}  // namespace gyrel
