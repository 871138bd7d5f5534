#pragma once
// The editor logic over real files in a temporary working folder, a virtual
// clock and an operator that answers from a script.
#include <string>
#include <vector>

#include "editor/editor_files.h"
#include "editor/editor_window.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"

namespace gyrel::editortest {

struct EditorRig : testing_doubles::Rig {
    Editor ed{ctx};
    std::vector<int> released;  // the port users the editor gave back

    EditorRig() {
        temp.create();
        ctx.applyLanguage("EN");
        ed.chiudi_com = [this](int user) { released.push_back(user); };
    }
    std::string path(const std::string& name) const { return temp.home() + "/" + name; }
    std::string work() const { return fs.fileExists(WorkFilePath()) ? fs.readAll(WorkFilePath()) : "<none>"; }
};

}  // namespace gyrel::editortest
