#pragma once
// The editor logic over real files in a temporary working folder, a virtual
// clock and an operator that answers from a script.
#include <filesystem>
#include <string>

#include "editor/editor_files.h"
#include "editor/editor_window.h"
#include "platform/working_folder.h"
#include "unit/app_test_doubles.h"
#include "unit/program_list_fakes.h"

namespace gyrel::editortest {

struct EditorRig {
    testing_doubles::TempHome temp;
    testing_doubles::PropertyPort port;
    VirtualClock clock;
    MemorySettingsStore store;
    StdFileSystem fs;
    listtest::ScriptedOperator op;
    Context ctx{Services{port, clock, store, fs, op}};
    Editor ed{ctx};
    std::vector<int> released;

    EditorRig() {
        temp.create();
        ctx.applyLanguage("EN");
        ed.chiudi_com = [this](int user) { released.push_back(user); };
    }
    std::string path(const std::string& name) const { return temp.home() + "/" + name; }
    std::string work() const { return fs.fileExists(WorkFilePath()) ? fs.readAll(WorkFilePath()) : "<none>"; }
};

}  // namespace gyrel::editortest
