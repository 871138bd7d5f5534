#pragma once
// The windows include this after Qt, whose "slots" keyword would swallow the
// slot panel member of the transfers' environment.
#pragma push_macro("slots")
#undef slots
#include "device/batch.h"
#include "device/download.h"
#include "device/transfer_env.h"
#include "device/upload.h"
#pragma pop_macro("slots")
#include "editor/editor_window.h"
#include "origin/origin_dialog.h"

namespace gyrel {

class SerialLink;

// What the editor window sends and reads over the serial link: the download
// and its small buttons, the upload and the preset and origin dialog, all on
// the editor's own state, check and multiple-files panel. Lives as long as the
// editor it was made for.
struct EditorTransfers {
    EditorTransfers(Context& ctx, SerialLink& link, Editor& editor);
    EditorTransfers(const EditorTransfers&) = delete;
    EditorTransfers& operator=(const EditorTransfers&) = delete;

    // Menuencoder on the editor's program-number box. A program read back is
    // also written to the work file, which the editor reloads its box from.
    void upload();

    TransferEnv env;
    DownloadCommand dl{env};
    UploadCommand up{env, dl.sender};
    OriginDialog origin;

private:
    Editor& editor_;
};

}  // namespace gyrel
