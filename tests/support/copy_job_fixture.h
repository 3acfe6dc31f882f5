#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "copy/box_figures.h"
#include "fake_session.h"
#include "temp_folder.h"

namespace olmira::test_support {

// Whether a line goes to the runner on the box, or writes it or a job's file
// (a line that builds a long command up names the program's variable).
inline bool ForRunner(const std::string& line) {
    return line.find("olmirafm") != std::string::npos && line.find(kSizeEnd) == std::string::npos;
}

// The paths a line of du commands names, as the box's shell reads its
// words: quotes and backslashes gone.
inline std::vector<std::string> DuPaths(const std::string& line) {
    std::vector<std::string> paths;
    for (std::size_t at = 0; at + 2 < line.size(); ++at) {
        if (line[at] != ' ' || !(line[at + 1] == '/' || line.compare(at + 1, 2, "\"/") == 0)) {
            continue;
        }
        std::string path;
        bool quoted = false;
        for (++at; at < line.size() && (quoted || (line[at] != ' ' && line[at] != ';')); ++at) {
            if (line[at] == '"') {
                quoted = !quoted;
            } else {
                path += line[at] == '\\' ? line[++at] : line[at];
            }
        }
        paths.push_back(path);
        --at;  // the blank after the word may start the next one
    }
    return paths;
}

// The runner on the box as the protocol has it. A verb is told by its word
// in a line that calls the runner; "check" asks whether the runner is there;
// any other line for it writes the runner's text or a job's file.
struct FakeRunner {
    bool installed = true;
    std::string writeWords;  // the box's words to each line that writes
    std::string refusal;     // submit refuses every job so
    std::string state = "running";
    std::vector<std::string> status{};
    std::optional<std::int64_t> progressKB{};
    std::vector<std::string> afterCancel{"1 cancelled", "end"};  // ends the job
    std::map<std::string, int> calls{};

    std::string Answer(const std::string& line) {
        std::string verb = line.find("olmirafm-ready") != std::string::npos ? "check" : "";
        for (const char* word : {"submit", "poll", "cancel", "clear"}) {
            if (line.starts_with("sh ") && line.find(" " + std::string(word) + " ") != line.npos) {
                verb = word;
            }
        }
        ++calls[verb];
        if (verb == "cancel" && !afterCancel.empty()) {
            state = "ended";
            status.insert(status.end(), afterCancel.begin(), afterCancel.end());
        }
        if (verb == "poll") {  // "poll N K": the status lines after the first K
            std::string reply = "olmirafm-job 1 " + state + "\r\n";
            for (std::size_t i = std::stoul(line.substr(line.rfind(' '))); i < status.size(); ++i) {
                reply += "olmirafm-status " + status[i] + "\r\n";
            }
            return reply + (progressKB ? "olmirafm-progress " + std::to_string(*progressKB) : "");
        }
        installed = installed || (verb.empty() && writeWords.empty());
        const std::map<std::string, std::string> said{
            {"check", installed ? "olmirafm-ready" : ""},
            {"submit", refusal.empty() ? "olmirafm-submitted 1" : "olmirafm-refused " + refusal},
            {"cancel", "olmirafm-cancelling 1"},
            {"clear", "olmirafm-cleared 1"},
            {"", writeWords}};
        return said.at(verb);
    }
};

// A session with both panes listed: hdd/Filme/ as source, usb/ as destination.
class CopyJobFixture : public ::testing::Test, protected FakeSession {
protected:
    CopyJobFixture() {
        settings.PromptMarker = "box#";
        settings.olmira_Host = "box";
        settings.update_intervall = 5000;
        settings.progress_min_size = 6000;
        settings.JobRecordPath = folder.File("jobs");
        List(Source, "hdd/Filme/",
             {"8000 Der Film.ts", "4 Kurz.ts", "0 Serien/", "1 K?se.ts", "1 Kase.ts",
              "7000 Zweiter.ts"});
        List(Destination, "usb/", {"4 Kurz.ts", "0 Alt/"});
    }

    void List(Pane pane, const std::string& path, const std::vector<std::string>& entries) {
        session.ShowFolder(pane, path);
        Listed(entries);
        channel.sent.clear();
    }
    // The destination's listing after a job.
    void DestinationListed() { Listed({"4 Kurz.ts", "0 Alt/"}); }

    // A listing's reply and that of the free space asked for after it.
    void Listed(const std::vector<std::string>& entries) {
        std::string reply = "ls\r\ntotal 1";
        for (const std::string& entry : entries) {
            reply += "\r\n" + entry;
        }
        Reply(reply);
        FreeSpaceRead();
    }
    void FreeSpaceRead() {
        ASSERT_THAT(channel.sent.back(), ::testing::StartsWith("df "));
        Reply(
            "df\r\nFilesystem 1K-blocks Used Available Use% Mounted on\r\n"
            "/dev/sdb1 900000 1 500000 1% /var/media/usb");
    }

    void Reply(const std::string& lines) { session.TelnetDataAvailable(lines + "\r\nbox# "); }

    // The runner answers until a line of another kind, or none, waits.
    void Box() {
        while (conversation.ReplyOutstanding() && ForRunner(channel.sent.back())) {
            Reply(channel.sent.back() + "\r\n" + runner.Answer(channel.sent.back()));
        }
    }

    void StartJob(const std::vector<std::string>& captions, TransferMode mode = TransferMode::Copy,
                  Pane from = Source) {
        window.View(from).selection.clear();
        for (const std::string& caption : captions) {
            ASSERT_TRUE(window.AddToSelection(from, caption)) << caption;
        }
        copy.StartJob(mode, from);
    }

    // The box answers the job's measures, kBs in the order the du lines name
    // the entries, then the destination's df and /proc/mounts.
    void Measured(const std::vector<int>& kBs, std::int64_t freeKB = 500000,
                  const std::string& usbType = "ext4") {
        for (std::size_t next = 0; next < kBs.size() && channel.sent.back().starts_with("du ");) {
            // one du for all, or each with its own end line
            const bool together = channel.sent.back().starts_with("du -sklL ");
            std::string sizes = "du";
            for (const std::string& path : DuPaths(channel.sent.back())) {
                sizes += "\r\n" + std::to_string(kBs.at(next++)) + "\t" + path;
                sizes += together ? "" : "\r\n" + std::string(kSizeEnd);
            }
            Reply(sizes + (together ? "\r\n" + std::string(kSizeEnd) : ""));
        }
        Reply("df\r\nFilesystem 1K-blocks Used Available Use% Mounted on\r\n/dev/sdb1 900000 1 " +
              std::to_string(freeKB) + " 1% /var/media/usb");
        Reply("cat\r\n/dev/sda1 /var/media/hdd ext4 rw 0 0\r\n/dev/sdb1 /var/media/usb " + usbType +
              " rw 0 0");
    }

    void HandedOver(const std::vector<std::string>& captions, const std::vector<int>& kBs,
                    TransferMode mode = TransferMode::Copy) {
        StartJob(captions, mode);
        Measured(kBs);
        Box();
    }

    // The copy timer runs out.
    void Expire(int expectedMs) {
        ASSERT_EQ(window.copyTimerMs, expectedMs);
        window.copyTimerMs.reset();
        copy.CopyTimerTimer();
        Box();
    }

    // The runner ends the job with these status lines.
    void Finish(std::vector<std::string> lines, int pollMs) {
        runner.state = "ended";
        runner.status.insert(runner.status.end(), lines.begin(), lines.end());
        runner.status.push_back("end");
        Expire(pollMs);
    }

    TempFolder folder;
    FakeRunner runner;
};

}  // namespace olmira::test_support
