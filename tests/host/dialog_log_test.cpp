// Every dialog the module opens gets its line in the log, at every level and in its place among the script's
// lines: its number and title, and how it was answered.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "script/ScriptRunner.hpp"

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace dialog_log_test {

class DialogLogTest : public InProcessHostTest {
protected:
    // Runs the script with the host's lines and the script's in one stream, as standin-host prints them.
    void Run(const std::string& text) {
        log.str("");
        DGDriver::ClearQueueAndLog();
        ScriptRunner runner(*host, log);
        runner.RunText(text, "test");
        output = log.str();
    }
    // The lines that hold `text`, with their line numbers in the output.
    std::vector<std::pair<size_t, std::string>> Lines(const std::string& text) const {
        std::vector<std::pair<size_t, std::string>> found;
        std::istringstream in(output);
        size_t number = 0;
        for (std::string line; std::getline(in, line); ++number)
            if (line.find(text) != std::string::npos) found.emplace_back(number, line);
        return found;
    }
    // The line holds each of `texts` and none of `absent`.
    static void ExpectLine(const std::string& line, std::initializer_list<const char*> texts,
                           std::initializer_list<const char*> absent = {}) {
        for (const char* text : texts) EXPECT_NE(line.find(text), std::string::npos) << text << " in: " << line;
        for (const char* text : absent) EXPECT_EQ(line.find(text), std::string::npos) << text << " in: " << line;
    }
    std::string output;
};

TEST_F(DialogLogTest, EachDialogSaysHowItWasAnsweredAtEveryLevel) {
    const std::string grid = TestSupport::DataDir() + "/asc/small_4x3.asc";
    // Three imports: the first answered from the queue, with one answer that does not fit; the second with
    // nothing queued for the import dialogs; the third with no file queued.
    const std::string script =
        "language AUT\nlibrary load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n"
        "file-dialog \"" +
        grid +
        "\"\ndialog 32577 click 1\ndialog 32569 set 999 0\n"
        "dialog 32575 click 5\n"
        "file-dialog \"" +
        grid +
        "\"\ndialog 32575 click 5\n"
        "dialog 32575 click 5\n"
        "dialog 32575 click 999\n"
        "release\n";
    for (const LogLevel level : {LogLevel::Quiet, LogLevel::Normal, LogLevel::Verbose}) {
        host->SetLogLevel(level);
        Run(script);
        const auto palette = Lines("palette 32575 \"Austrian Input\"");
        ASSERT_EQ(palette.size(), 2u) << output;  // opened; then the click it refused
        ExpectLine(palette[1].second, {"999"});

        const auto files = Lines("file dialog ");
        ASSERT_EQ(files.size(), 3u) << output;
        ExpectLine(files[0].second, {"small_4x3.asc"});
        ExpectLine(files[1].second, {"small_4x3.asc"});
        ExpectLine(files[2].second, {"nothing queued", "cancelled"});

        const auto options = Lines("dialog 32577 \"ASC File Import\"");
        ASSERT_EQ(options.size(), 2u) << output;
        ExpectLine(options[0].second, {"click item 1"}, {"nothing queued"});
        ExpectLine(options[1].second, {"nothing queued", "OK"});

        // The answer that does not fit is told on its dialog's line, before the next script line runs.
        const auto results = Lines("dialog 32569 \"Import results\"");
        ASSERT_EQ(results.size(), 2u) << output;
        ExpectLine(results[0].second, {"set item 999", "no such item"});
        const auto nextLine = Lines("[10] file-dialog");
        ASSERT_EQ(nextLine.size(), 1u) << output;
        EXPECT_LT(results[0].first, nextLine[0].first) << output;
        ExpectLine(results[1].second, {"nothing queued"}, {"999"});
    }
}

}  // namespace dialog_log_test
