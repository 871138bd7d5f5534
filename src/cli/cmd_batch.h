#pragma once
// The list forms of gyrel-cli download and upload: every filled slot of a list
// file sent in one run, or every slot of the device read into files and a list.
#include <string>

#include "cli/cli.h"

namespace gyrel::cli {

struct BatchOptions {
    std::string model;
    std::string language = "EN";
    std::string port;
    std::string list;
    bool yes = false;
};

// download --list: exit 0 when every filled slot was sent, 1 when the list or a
// slot file is missing or bad or a question was declined, 2 on a link failure.
int runBatchDownload(Env& env, const BatchOptions& o);
// upload --all --list: exit 0 when every slot was read, written and listed, 2
// when a slot failed (its file is then missing from the list) or the port could
// not be used, 1 when the model reads nothing back or the list cannot be written.
int runBatchUpload(Env& env, const BatchOptions& o);

}  // namespace gyrel::cli
