// Every dialog the module opens gets its line in the log, at every level and in its place among the script's
// lines: its number and title, and how it was answered.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "script/ScriptRunner.hpp"

#include <sstream>
#include <string>
#include <vector>

namespace {

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
    static bool Holds(const std::string& line, const std::string& text) { return line.find(text) != std::string::npos; }
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
        EXPECT_TRUE(Holds(palette[1].second, "999")) << palette[1].second;

        const auto files = Lines("file dialog ");
        ASSERT_EQ(files.size(), 3u) << output;
        EXPECT_TRUE(Holds(files[0].second, "small_4x3.asc")) << files[0].second;
        EXPECT_TRUE(Holds(files[1].second, "small_4x3.asc")) << files[1].second;
        EXPECT_TRUE(Holds(files[2].second, "nothing queued")) << files[2].second;
        EXPECT_TRUE(Holds(files[2].second, "cancelled")) << files[2].second;

        const auto options = Lines("dialog 32577 \"ASC File Import\"");
        ASSERT_EQ(options.size(), 2u) << output;
        EXPECT_TRUE(Holds(options[0].second, "click item 1")) << options[0].second;
        EXPECT_FALSE(Holds(options[0].second, "nothing queued")) << options[0].second;
        EXPECT_TRUE(Holds(options[1].second, "nothing queued")) << options[1].second;
        EXPECT_TRUE(Holds(options[1].second, "OK")) << options[1].second;

        // The answer that does not fit is told on its dialog's line, before the next script line runs.
        const auto results = Lines("dialog 32569 \"Import results\"");
        ASSERT_EQ(results.size(), 2u) << output;
        EXPECT_TRUE(Holds(results[0].second, "set item 999")) << results[0].second;
        EXPECT_TRUE(Holds(results[0].second, "no such item")) << results[0].second;
        const auto nextLine = Lines("[10] file-dialog");
        ASSERT_EQ(nextLine.size(), 1u) << output;
        EXPECT_LT(results[0].first, nextLine[0].first) << output;
        EXPECT_TRUE(Holds(results[1].second, "nothing queued")) << results[1].second;
        EXPECT_FALSE(Holds(results[1].second, "999")) << results[1].second;
    }
}

}  // namespace
