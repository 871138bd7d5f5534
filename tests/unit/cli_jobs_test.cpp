// gyrel-cli's jobs, in-process against the simulated encoder on the virtual clock, the
// file names they write and read, the conventions every job shares and bad input.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <cstdlib>
#include <tuple>

#include "cli/exit_codes.h"
#include "cli/port_name.h"
#include "platform/file_name_text.h"
#include "support/deskpl_writer.h"
#include "unit/cli_rig_fixture.h"

namespace gyrel {
namespace {

using ::testing::HasSubstr;

using clitest::CliRig;
namespace fs = std::filesystem;

// An empty program needs --yes; a failed check or too many cams sends nothing, while
// prepare keeps the first 120 change points. The job works in a temporary folder of its
// own under TMPDIR and leaves nothing there; a frame the device does not acknowledge
// ends it with exit code 2.
TEST(CliDownload, SendsACheckedProgramIntoTheSlotOrNothingLeavesNoWorkFolderAndVerifies) {
    CliRig r("NORM");
    const std::string empty = r.file("e.txt", "' nothing here\r\n"), bad = r.file("bad.txt", "1\t100\t4000\r\n");
    std::string many;
    for (int i = 10; i < 3300; i += 50) many += "1 " + std::to_string(i) + " " + std::to_string(i + 20) + "\r\n";
    many = r.file("many.txt", many);
    EXPECT_EQ(r.job("download --slot 1", {empty}), 1);
    EXPECT_EQ(r.err.str().substr(0, 21), "     Empty program ! ");
    EXPECT_EQ(r.job("download --slot 1", {bad}), 1);
    EXPECT_EQ(r.job("download --slot 1", {many}), 1);
    EXPECT_TRUE(r.device.received().empty());
    EXPECT_EQ(r.run({"prepare", "--model", "NORM", many}), 0);
    EXPECT_EQ(r.err.str(), "too much cams\nProgrammed 132 camms\nMAX NUM of CAMS = 120 !!!\n");
    // The first 120 change points, the last the 60th cam's OFF.
    const std::string out = r.out.str();
    EXPECT_EQ(out.substr(0, 13) + std::to_string(xfertest::count(out, "\n")) + out.substr(out.size() - 8),
              "CamCount 132\n121\n2980 0\n");
    EXPECT_EQ(r.job("download --slot 1 --yes", {empty}), 0);
    EXPECT_EQ(*r.device.program(0), (sim::CamTable{{0, 0}}));

    const std::string tmp = r.home.path() + "/tmp", f = r.file("p.txt", "1\t100\t200\r\n2\t300\t50\r\n");
    std::filesystem::create_directory(tmp);
    const std::string kept = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    EXPECT_EQ(r.job("download --slot 3", {f}), 0) << r.err.str();
    kept.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", kept.c_str(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
    EXPECT_EQ(*r.device.program(2), (sim::CamTable{{50, 0}, {100, 1}, {200, 0}, {300, 2}}));
    EXPECT_EQ(r.err.str(), "");
    r.device.faults().noAckFrames = 1000;
    EXPECT_EQ(r.job("download --slot 1", {f}), 2);
    EXPECT_EQ(r.err.str(), "Trasmission  Prog.1\nTransmission error\n");

    // The V712 is typed the program text, and refuses a line it cannot hold.
    CliRig v712("V712");
    EXPECT_EQ(v712.job("download --slot 1", {v712.file("p.712", "' P1\r\nPRG=1,OUT=1,OFS=0,CON=90,COF=180\r\n")}), 0)
        << v712.err.str();
    EXPECT_EQ(v712.device.textLines(), std::vector<std::string>{"PRG=1,OUT=1,OFS=0,CON=90,COF=180"});
    EXPECT_EQ(v712.job("download --slot 1", {v712.file("q.712", "PRG=1,OUT=99\r\n")}), 2);

    // --verify reads the slot back and reports a difference with exit code 3.
    CliRig ax("V820AX");
    const std::string p820 = ax.file("p.820", "1\t100\t200\r\n8\t16000\t10\r\n");
    EXPECT_EQ(ax.job("download --slot 2 --verify", {p820}), 0) << ax.err.str();
    bool tampered = false;
    ax.clock.onPump = [&] {
        const auto& p = ax.device.program(1);
        if (!tampered && p && p->size() == 4 && (*p)[0].position == 10) {
            ax.device.setProgram(1, {{10, 0}, {100, 0x81}, {200, 0x80}, {16001, 0x80}});
            tampered = true;
        }
    };
    ax.device.clearProgram(1);
    EXPECT_EQ(ax.job("download --slot 2 --verify", {p820}), 3);  // only once it was tampered with
    EXPECT_THAT(ax.err.str(), HasSubstr("verify: 2 differs change point 1: file 100/1, device 100/129"));
}

// The file is saved through a link to it: the link is followed, the mode kept, and
// neither the link nor the file's other attributes change.
TEST(CliUpload, SavesThroughALinkReadsTheWholeDeviceIntoAListAndBatchDownloadStopsAtAMissingFileOrSilence) {
    CliRig r("KMT71");
    r.device.setProgram(0, {{100, 1}, {2000, 0}});
    EXPECT_EQ(r.job("upload --slot 1"), 0) << r.err.str();
    const std::string text = r.out.str(), target = r.file("real.KVX", "old\r\n"), link = r.home.path() + "/link.KVX";
    EXPECT_EQ(text.substr(0, 13) + text.substr(text.find("\r\n")),
              "'Imported on \r\n'Program # 1\r\n\r\n1\t100\t2000\r\n");
    chmod(target.c_str(), 0640);
    fs::create_symlink("real.KVX", link);
    ASSERT_EQ(r.job("upload --slot 1 --output", {link}), 0) << r.err.str();
    EXPECT_EQ(r.fs.readAll(target) + r.out.str(), text);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)) && fs::status(target).permissions() == fs::perms(0640));
    // Nothing can be written beside it: the message names the file the operator
    // chose, which keeps its bytes, and what stood beside is left alone.
    fs::create_directories(target + ".tmp~/in-use");
    EXPECT_THAT([&] { r.fs.replaceFile(link, "new\r\n"); },
                ::testing::ThrowsMessage<FileError>("cannot write " + link + ": Is a directory"));
    EXPECT_EQ(r.fs.readAll(target), text);
    EXPECT_TRUE(fs::exists(target + ".tmp~/in-use"));

    EXPECT_EQ(r.run({"upload", "--model", "NORM", "--port", "p", "--slot", "1"}), 1);  // reads nothing back
    CliRig ax("V820AX");
    ax.device.faults().silent = true;
    EXPECT_EQ(ax.job("upload --slot 1"), 2);
    EXPECT_EQ(ax.err.str(), "upload of program 1 failed: no complete reply from the device (0 replies read)\n");

    // --all reads the device into files and a list; a list download stops at a missing file or silence.
    CliRig hx("V820HX");
    hx.device.setProgram(0, {{100, 1}, {200, 0}});
    const std::string dir = hx.home.path(), list = dir + "/backup.lis";
    EXPECT_EQ(hx.job("upload --all --list", {list}), 0) << hx.err.str();
    std::string names, listed;
    for (int k = 0; k < 16; ++k) {
        const std::string f = dir + "/backup_" + std::to_string(k + 1) + ".820";
        names += f + "\n";
        listed += std::to_string(k + 1) + "   (" + f + ")\r\n";
    }
    EXPECT_EQ(hx.out.str(), names + list + "\n");
    EXPECT_EQ(hx.fs.readAll(list), listed);
    const std::string p1 = hx.fs.readAll(dir + "/backup_1.820");
    EXPECT_EQ(p1.substr(p1.find("\r\n") + 2), "'Program # 1\r\n\r\n1\t100\t200\r\n");
    EXPECT_TRUE(hx.fs.fileExists(dir + "/backup_16.820"));
    EXPECT_EQ(hx.job("upload --all --list", {dir + "/nodot"}), 1);
    EXPECT_EQ(hx.run({"upload", "--model", "NORM", "--port", "sim", "--all", "--list", list}), 1);

    const std::string one = hx.file("one.TXT", "1\t100\t200\r\n"), three = hx.file("three.TXT", "3\t0\t1800\r\n");
    const std::string gone = dir + "/gone.TXT", m = "1   (" + one + ")\r\n2   (" + gone + ")\r\n3   (" + three + ")\r\n";
    EXPECT_EQ(hx.job("download --list", {hx.file("m.lis", m)}), 1);
    EXPECT_THAT(hx.err.str(), HasSubstr(gone + "\nFile not present\n"));
    EXPECT_EQ(hx.out.str(), "1   sent      " + one + "\n2   failed    " + gone + "\n3   skipped   " + three +
                               "\n1 of 3 programs sent; program 2 failed; 1 not tried\n");
    EXPECT_EQ(hx.job("download --list", {dir + "/none.lis"}), 1);
    EXPECT_EQ(hx.job("download --list", {hx.file("bad.lis", "0   (x)\r\n")}), 1);
    EXPECT_THAT(hx.err.str(), HasSubstr("bad.lis: a slot number outside 1..16\n"));
    EXPECT_EQ(hx.job("download --list", {hx.file("e.lis", "' none\r\n")}), 0);
    EXPECT_EQ(hx.out.str(), "nothing to send: " + dir + "/e.lis names no program\n");

    CliRig quiet("NORM");
    quiet.device.faults().muteAfterReplies = 3;
    const std::string two = quiet.file("two.TXT", "2\t5\t6\r\n");
    EXPECT_EQ(quiet.job("download --list", {quiet.file("q.lis", "1   (" + one + ")\r\n2   (" + two + ")\r\n")}), 2);
    EXPECT_TRUE(quiet.device.program(0).has_value() && !quiet.device.program(1).has_value());
    EXPECT_EQ(quiet.out.str(), "1   sent      " + one + "\n2   failed    " + two + "\n1 of 2 programs sent; program 2 failed\n");
}

// Preset and origin values written and read back, plain and as JSON; a program the
// device did not answer for has no values.
TEST(CliPreset, ReadPrintsSixteenLinesWriteStoresTheValuesAndRefusalsHaveTheirExitCodes) {
    CliRig r("Px71");
    EXPECT_EQ(r.job("preset write --preset 1=3600 --preset 16=4294967295 --origin 1=5 --origin 16=0"), 0)
        << r.err.str();
    EXPECT_EQ(std::make_tuple(r.device.presetOrigin(0).preset, r.device.presetOrigin(0).origin,
                              r.device.presetOrigin(15).preset),
              std::make_tuple(3600u, 5u, 4294967295u));
    EXPECT_EQ(r.job("preset read"), 0);
    const std::string out = r.out.str();
    EXPECT_EQ(out.substr(0, 15) + out.substr(out.size() - 16), "1 3600 5\n2 0 0\n16 4294967295 0\n");
    EXPECT_EQ(r.job("preset read --json"), 0) << r.err.str();
    const std::string json = r.out.str();
    EXPECT_EQ(json.substr(0, 120) + json.substr(json.size() - 4),
              "{\"programs\":[{\"program\":1,\"read\":true,\"preset\":\"3600\",\"origin\":\"5\"},"
              "{\"program\":2,\"read\":true,\"preset\":\"0\",\"origin\":\"0\"},}]}\n");
    r.device.faults().muteAfterReplies = 2;
    EXPECT_EQ(r.job("preset read --json"), 2);
    EXPECT_THAT(r.out.str(), HasSubstr("\"read\":false,\"preset\":null,\"origin\":null}"));

    // Refused values send nothing; a silent device exits 2 and its programs read "-".
    CliRig hx("V820HX");
    for (const char* value : {"1=-4", "17=5", "0=5", "x=5", "1=2000000"})
        EXPECT_EQ(hx.job("preset write --preset", {value}), 1) << value;
    EXPECT_EQ(hx.err.str(), "2000000\nToo High\n");
    EXPECT_TRUE(hx.device.received().empty());
    EXPECT_EQ(hx.job("preset write --preset 3=1 --origin 4=1"), 1);
    hx.device.faults().silent = true;
    EXPECT_EQ(hx.job("preset write --preset 3=1"), 2);
    EXPECT_EQ(hx.job("preset read"), 2);
    EXPECT_THAT(hx.out.str(), HasSubstr("\n3 - -\n"));
}

// What check and prepare print for a program file, with their exit codes: each row's
// args, then the file's text, exit code, out and err ("@" stands for the file's path).
TEST(CliCheck, ChecksAndPreparesAProgramFile) {
    const std::tuple<const char*, const char*, int, const char*, std::string> rows[] = {
        {"check --model NORM", "' c\r\n1 100 250\r\n1 3000 50\r\n2 0 0\r\n3 1 1\r\n&\r\n1 20 -15\r\n", 0, "", ""},
        {"check --model NORM", "1 100 4000\r\n", 1, "", "Wrong value\nNot valid  ' 4000 '\n@:1: Wrong value\n"},
        {"check --model NORM --language it", "1 100\r\n", 1, "",
         "Manca quota OFF\nParametro errato  ' 100 '\n@:1: Manca quota OFF\n"},
        // The ON offset moves the second cam onto the first one.
        {"check --model NORM", "4 100 200\r\n4 300 400\r\n&\r\n4 -150 0\r\n", 1, "",
         "Crossed values - Output 4 Row2\nOutput 4    On 300    Off 400\n\nUsing Offsets... \n\n\n"
         "Output just turned on\nAt row1  -- Value100\n@:1: Crossed values - Output 4 Row2\n"},
        // Output 1: ON 120..234 and 3020..34 (offsets applied); output 3 always ON.
        {"prepare --model NORM", "1 100 250\r\n1 3000 50\r\n3 1 1\r\n&\r\n1 20 -15\r\n", 0,
         "CamCount 4\n35 4\n120 5\n235 4\n3020 5\n", ""},
        {"prepare --model NORM --json", "1 100 250\r\n1 3000 50\r\n3 1 1\r\n&\r\n1 20 -15\r\n", 0,
         "{\"camCount\":4,\"points\":[{\"position\":35,\"mask\":4},{\"position\":120,\"mask\":5},"
         "{\"position\":235,\"mask\":4},{\"position\":3020,\"mask\":5}]}\n", ""},
        {"prepare --model NORM", "1 100 4000\r\n", 1, "", "Wrong value\nNot valid  ' 4000 '\n@:1: Wrong value\n"},
        {"prepare --model V712", "PRG=1,OUT=1,OFS=0,CON=100,COF=200\r\n", 0, "CamCount 0\n", ""},
        {"check --model NORM", nullptr, 1, "", "cannot read @: No such file or directory\n"},  // no such file
    };
    for (auto [job, text, code, out, err] : rows) {
        SCOPED_TRACE(job);
        CliRig rig("NORM");
        const std::string path = text ? rig.file("p.txt", text) : rig.home.path() + "/missing.txt";
        std::vector<std::string> args = clitest::words(job);
        args.push_back(path);
        EXPECT_EQ(rig.run(args), code);
        EXPECT_EQ(rig.out.str(), out);
        if (const auto at = err.find('@'); at != std::string::npos) err.replace(at, 1, path);
        EXPECT_EQ(rig.err.str(), err);
        EXPECT_FALSE(std::filesystem::exists(rig.home.path() + "/lav.lav"));  // the work file is left alone
    }
}

std::string deskplWithAngle(float angle) {
    test::DeskplWriter w;
    w.program(0, 1).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, angle, 0);
    return w.bytes();
}

TEST(CliImport, WritesTheProgramFilesAndTheListInWindows1252AndStopsAtBadInput) {
    CliRig r("NORM");
    test::DeskplWriter w;
    w.program(0, 4).count(0, 1, 2).entry(0, 1, 0, 10.0f, 1).entry(0, 1, 1, 20.5f, 0);
    w.program(1, 12).count(1, 8, 1).entry(1, 8, 0, 359.9f, 1);
    const std::string dir = r.home.path(), dpl = r.file("plant.dpl", w.bytes()), list = dir + "/plant.lis";
    EXPECT_EQ(r.run({"import-deskpl", "--model", "V712", "--list", list, dpl}), 0) << r.err.str();
    EXPECT_EQ(r.out.str(), dir + "/plant_4.712\n" + dir + "/plant_12.712\n" + list + "\n");
    EXPECT_EQ(r.fs.readAll(list), "4   (" + dir + "/plant_4.712)\r\n12   (" + dir + "/plant_12.712)\r\n");
    const std::string p12 = r.fs.readAll(dir + "/plant_12.712");
    EXPECT_EQ(p12.substr(0, 13) + p12.substr(p12.find(" from file ")),
              "'Imported on  from file " + dpl + "\r\n\r\n' - - - Program # 12\r\n\r\n8\t3599\t0\r\n");

    // Bad input exits with the message and keeps what was written.
    test::DeskplWriter b;
    b.program(0, 1).count(0, 1, 2).program(1, 40).count(1, 1, 2);
    const std::string bad = r.file("bad.dpl", b.bytes()), badList = dir + "/bad.lis";
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", badList, bad}), 1);
    EXPECT_EQ(r.err.str(), "ERROR               \nrecord 2: program number 40 outside 1..16\n");
    EXPECT_EQ(r.out.str(), dir + "/bad_1.TXT\n");
    EXPECT_FALSE(r.fs.fileExists(badList));
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", badList, dir + "/none.dpl"}), 1);
    EXPECT_EQ(r.err.str().substr(0, 21), "ERROR               \n");
    for (const std::string& folder : {std::string(), dir + "/none/."}) {
        EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", folder, dpl}), 1) << folder;
        EXPECT_EQ(r.err.str(), "ERROR               \ncannot write " + folder + ": it names a folder, not a file\n");
    }

    // Paths written into list files and program headers are Windows-1252 text and
    // come back as local (UTF-8) names; names the code page cannot hold are refused.
    const std::string folder = dir + "/Ablage \xC3\xA9";  // "Ablage é" as Linux names it
    fs::create_directory(fs::u8path(folder));
    const std::string deskpl = r.file("Ablage \xC3\xA9/Anlage \xC3\xBC.dpl", deskplWithAngle(20.0f));  // ü
    // "Ω" has no byte in the code page: refused before anything is written.
    EXPECT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", folder + "/Zeile \xCE\xA9.lis", deskpl}), 1);
    EXPECT_THAT(r.err.str(), HasSubstr("has a character that Windows-1252 cannot hold"));
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::u8path(folder)), fs::directory_iterator()), 1);

    const std::string zeile = folder + "/Zeile \xC3\xBC.lis", program = folder + "/Zeile \xC3\xBC_1.TXT";
    ASSERT_EQ(r.run({"import-deskpl", "--model", "NORM", "--list", zeile, deskpl}), 0) << r.err.str();
    const std::string inFile = dir + "/Ablage \xE9";
    EXPECT_EQ(r.fs.readAll(zeile), "1   (" + inFile + "/Zeile \xFC_1.TXT)\r\n");
    EXPECT_THAT(r.fs.readAll(program), HasSubstr(" from file " + inFile + "/Anlage \xFC.dpl\r\n"));
    // The list, as a Windows machine would have written it, sends the program.
    EXPECT_EQ(r.job("download --list", {zeile}), 0) << r.err.str();
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{100, 1}, {200, 0}}));
    // A list written with the names in raw UTF-8 still loads.
    r.fs.writeAll(program, "2\t300\t400\r\n");
    EXPECT_EQ(r.job("download --list", {r.file("old.lis", "1   (" + program + ")\r\n")}), 0) << r.err.str();
    EXPECT_EQ(r.device.program(0), (sim::CamTable{{300, 2}, {400, 0}}));
    EXPECT_EQ(pathToOpen(r.fs, "1\xE9"), "1\xC3\xA9");  // missing either way: the converted name

    std::string text;
    EXPECT_FALSE(pathToFileText("a\xC3", text) || pathToFileText("\xE9", text));  // cut short, not UTF-8
    EXPECT_TRUE(pathToFileText("\xE2\x82\xAC", text));
    EXPECT_EQ(text, "\x80");  // the euro sign
}

// gyrel-cli status against a standing shaft: one line per reply, the end of the job on stderr.
TEST(CliStatus, OneLinePerReplyAndWhatEndsTheJob) {
    const std::string norm = "position 123.4  program 1  cams 0  outputs 1010010110100101  link 4\n";
    const std::string lost = "position - - -  program --  cams --  outputs ----------------  link 0\n";
    const std::string empty = "position - - -  program --  cams --  outputs --------  link 1\n";
    const std::string json = "\"valid\":true,\"position\":\"10000\",\"turn\":\"2\",\"turnAt\":\"1808\","
                             "\"program\":\"1\",\"cams\":\"0\",\"outputs\":\"10100101\",\"link\":4}\n";
    // model, shaft position, fault ("busy": another program holds the port), count and options, code, out, err
    const std::tuple<const char*, double, std::string, const char*, int, std::string, std::string> cases[] = {
        {"NORM", 1234, "", "3", 0, "1  " + norm + "2  " + norm + "3  " + norm, ""},
        {"KMT71", 10000, "", "2 --json", 0, "{\"query\":1," + json + "{\"query\":2," + json, ""},  // an object a reply
        {"NORM", 0, "busy", "2", 2, "", "cannot open the port p: "},
        {"NORM", 0, "silent", "2", 2, "1  " + lost + "2  " + lost, "no valid reply from the device in 2 queries\n"},
        // Short replies wait out the whole round: one bar. "no prg" stands while the message is up.
        {"V820HX", 0, "empty", "5", 2, "1  " + empty + "2  " + empty,
         "Empty program: Selected memory location on ENCODER, is empty.   Send a program at this location.\n"
         "polling stopped after 2 of 5 queries\n"},
    };
    for (const auto& [model, position, fault, count, code, out, err] : cases) {
        SCOPED_TRACE(model + (" " + fault));
        clitest::CliRig r(model);
        r.device.setShaftSpeed(0, 0);
        r.device.setPosition(position, 0);
        r.busy = fault == "busy";
        if (fault == "empty") r.device.setEmptySlotMode(sim::EmptySlotMode::EmptyReply);
        if (fault == "silent") r.device.faults().silent = true;
        EXPECT_EQ(r.job(std::string("status --count ") + count), code);
        EXPECT_EQ(r.out.str(), out);
        EXPECT_EQ(r.busy ? r.err.str().substr(0, err.size()) : r.err.str(), err);
        if (fault == "silent") {
            EXPECT_EQ(r.clock.nowMs(), 2 * 280);  // two whole reply waits
        }
        EXPECT_EQ(r.device.received(), Bytes(std::count(out.begin(), out.end(), '\n'), 0x80));  // a query a line
    }
}

// The completion script, sourced in bash, offers what the parser takes.
std::string complete(const std::string& script, const std::string& words, int cword) {
    const std::string path = ::testing::TempDir() + "gyrel-completion-" + std::to_string(::getpid()) + ".bash";
    std::ofstream(path) << script;
    const std::string cmd = "bash -c 'source " + path + "; COMP_WORDS=(" + words + "); COMP_CWORD=" +
                            std::to_string(cword) + "; _gyrel_cli; echo \"${COMPREPLY[*]}\"' > " + path + ".out";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return StdFileSystem().readAll(path + ".out");
}

// Every entry below a folder: its kind, mode, link target and contents.
std::map<std::string, std::string> snapshot(const std::string& dir) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const fs::file_status st = e.symlink_status();
        seen[e.path().string()] = std::to_string(int(st.type())) + " " + std::to_string(unsigned(st.permissions())) +
                                  (fs::is_symlink(st)        ? " -> " + fs::read_symlink(e.path()).string()
                                   : fs::is_regular_file(st) ? " " + StdFileSystem().readAll(e.path().string())
                                                             : "");
    }
    return seen;
}

// Each row (model, files to make, args, exit code, what standard error says) makes its
// files, then runs the words of args on a rig of its model; "%" stands for "--model" with
// that model and "--port p", "@x" for the file x of the working folder, "''" for an empty word.
const std::tuple<const char*, std::function<void(clitest::CliRig&)>, const char*, int, const char*> kCases[] = {
    // Usage errors and bad values have one code in every subcommand.
    {"NORM", nullptr, "status % --lang XX", cli::ExitUsage, "--lang: unknown language \"XX\""},
    {"V820AX", nullptr, "upload % --slot 1 --lang es", cli::ExitUsage, "--lang: unknown"},
    {"NORM", nullptr, "download % --slot 1 --lang XX f", cli::ExitUsage, "--lang: unknown"},
    {"Px71", nullptr, "preset read % --lang XX", cli::ExitUsage, "--lang: unknown"},
    {"NORM", nullptr, "import-deskpl --model NORM --list l.lis --language XX d", cli::ExitUsage, "--lang: unknown"},
    {"NORM", nullptr, "check --model KRT9 f", cli::ExitUsage,
     "--model: unknown model \"KRT9\" (one of NORM, OLD, V712, V820AX, V820HX, KMT71, Px71)\n"},
    {"NORM", nullptr, "stauts --model NORM", cli::ExitUsage,
     "gyrel-cli: unknown subcommand \"stauts\" (one of import-deskpl,"},
    {"NORM", nullptr, "preset rd", cli::ExitUsage, "preset: unknown subcommand \"rd\" (one of read, write)"},
    {"NORM", nullptr, "preset", cli::ExitUsage, "A subcommand is required"},
    {"NORM", nullptr, "", cli::ExitUsage, "A subcommand is required"},
    {"NORM", nullptr, "status --model NORM", cli::ExitUsage, "--port is required"},
    {"NORM", nullptr, "download % --slot 17 f", cli::ExitRefused, "--slot must be a program number"},
    {"V820AX", nullptr, "upload % --slot 0", cli::ExitRefused, "--slot must be a program number"},
    {"NORM", nullptr, "status % --count 0", cli::ExitRefused, "the count must be at least 1"},
    {"V820AX", nullptr, "upload % --slot 1 --list l.lis", cli::ExitUsage, "--list requires --all"},
    {"NORM", [](auto& r) { r.file("p.txt", "1 100 200\r\n"); }, "download --model NORM --port '' --slot 1 @p.txt",
     cli::ExitUsage, "--port is empty"},
    {"KMT71", nullptr, "upload --model KMT71 --port COM1 --slot 1", cli::ExitUsage,
     "/dev/ttyS* (built-in ports), /dev/ttyUSB* (USB serial adapters), /dev/ttyACM*"},
    {"Px71", nullptr, "preset write % --preset 2=", cli::ExitUsage, "--preset 2=: no value"},
    // Hostile or mistaken files.
    {"NORM", nullptr, "download % --slot 1 /dev/zero", cli::ExitRefused, "/dev/zero: it is not a regular file"},
    {"NORM", [](auto& r) { r.file("big.txt", std::string(5u << 20, ' ')); }, "download % --slot 1 @big.txt",
     cli::ExitRefused, "holds 5242880 bytes; a program file holds at most 4194304"},
    {"KMT71", [](auto& r) { chmod(r.file("kept.KVX", "old\r\n").c_str(), 0444); },
     "upload % --slot 1 --output @kept.KVX", cli::ExitRefused, "kept.KVX: the file is read-only"},
    {"NORM", [](auto& r) { fs::create_directory(r.home.path() + "/d.dpl"); },
     "import-deskpl --model NORM --list @x.lis @d.dpl", cli::ExitRefused,
     "d.dpl: it is a directory, not a DESKPL file"},
    {"NORM", [](auto& r) { r.file("b.dpl", deskplWithAngle(3e38f)); },
     "import-deskpl --model NORM --list @y.lis @b.dpl", cli::ExitRefused, "record 1: output 1 entry 1 is no angle"},
    {"V712", [](auto& r) { r.file("bin.712", "PRG=1\r\n\x7f" "ELF\x01\x02"); }, "download % --slot 1 @bin.712",
     cli::ExitRefused, "bin.712: line 2: control character 0x7F"},
    {"NORM", [](auto& r) { r.file("m.lis", "1   (/nowhere/\x1b[2Jx)\r\n"); }, "download % --list @m.lis",
     cli::ExitRefused, "/nowhere/\\x1B[2Jx\nFile not present\n"},
    {"NORM", [](auto& r) { r.file("c.lis", "2   (" + r.file("bad.TXT", "' x\r\n1 100 200\r\n1 300 4000\r\n") + ")\r\n"); },
     "download % --list @c.lis", cli::ExitRefused, "/bad.TXT:3: Wrong value\n"},
    {"V712", nullptr, "backup % @x", cli::ExitRefused, "cannot send its programs back"},
    {"NORM", nullptr, "simulate --model NORM --slot 17", cli::ExitRefused, "the slot must be 1..16\n"},
    {"NORM", nullptr, "simulate --model NORM --fault silent --fault late:x", cli::ExitRefused,
     "unknown fault \"late:x\" (known: silent, late:MS,"},
    {"NORM", nullptr, "simulate", cli::ExitUsage, "--model is required"},
};

// Each is refused with its exit code and a message saying why; nothing reaches the
// device, no file changes, and no escape sequence reaches the terminal. Help, version
// and the bash completion offer what the parser takes.
TEST(BadInput, IsRefusedWithItsExitCodeAndNothingChangesHelpAndCompletionOfferWhatIsTaken) {
    for (const auto& [model, make, job, exitCode, says] : kCases) {
        SCOPED_TRACE(job);
        clitest::CliRig r(model);
        r.device.setProgram(0, {{100, 1}, {200, 0}});
        if (make) make(r);
        std::vector<std::string> args;
        for (const std::string& w : clitest::words(job)) {
            if (w == "%") args.insert(args.end(), {"--model", model, "--port", "p"});
            else args.push_back(w == "''" ? "" : w[0] == '@' ? r.home.path() + "/" + w.substr(1) : w);
        }
        const auto before = snapshot(r.home.path());
        EXPECT_EQ(r.run(args), exitCode) << r.err.str();
        EXPECT_THAT(r.err.str(), HasSubstr(says));
        EXPECT_EQ((r.out.str() + r.err.str()).find('\x1b'), std::string::npos);
        EXPECT_EQ(snapshot(r.home.path()), before);
        EXPECT_TRUE(r.device.received().empty());
    }
    // Only COM and digits is a Windows port name.
    EXPECT_EQ(cli::portNameProblem("COMx") + cli::portNameProblem("COM1x"), "");
    EXPECT_NE(cli::portNameProblem("com12"), "");

    // --help lists the exit codes but not the hidden completion job; --version prints the version.
    CliRig r("NORM");
    EXPECT_EQ(r.run({"--help"}), 0);
    for (const char* said : {"Usage: gyrel-cli [OPTIONS] SUBCOMMAND", "  64  usage error", "   3  the device differs from the file"})
        EXPECT_THAT(r.out.str(), HasSubstr(said));
    EXPECT_EQ(r.out.str().find("completion"), std::string::npos) << r.out.str();
    EXPECT_EQ(r.run({"--version"}), 0);
    EXPECT_EQ(r.out.str(), std::string("gyrel-cli ") + cli::version() + "\n");
    ASSERT_EQ(r.run({"completion", "bash"}), 0);
    const std::string script = r.out.str();
    EXPECT_EQ(complete(script, "gyrel-cli pr ''", 1), "prepare preset\n");
    EXPECT_EQ(complete(script, "gyrel-cli status --model NORM --j", 4), "--json\n");
    EXPECT_EQ(complete(script, "gyrel-cli download --model N", 3), "NORM\n");
    EXPECT_EQ(complete(script, "gyrel-cli check --lang ''", 3), "IT EN DE FR\n");
    EXPECT_EQ(complete(script, "gyrel-cli preset w", 2), "write\n");
}

}  // namespace
}  // namespace gyrel
