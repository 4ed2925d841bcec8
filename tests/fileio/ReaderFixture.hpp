#pragma once
// Runs the grid and point-file readers on files, inside the in-process host (so an error shows its text), and
// tells which alerts a read showed.
#include "InProcessHost.hpp"
#include "TestSupport.hpp"

#include "fileio/ASCFileCls.hpp"
#include "fileio/TextFileCls.hpp"

#include "DGDriver.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class ReaderTest : public InProcessHostTest {
protected:
    // The module loaded and started: its resources and its options dialogs are there.
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Load());
    }
    static std::string Data(const std::string& name) { return TestSupport::DataDir() + "/" + name; }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Writes `bytes` under the user folder and answers its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = UserFile(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Reads as the import does, with `adjust` before the detection and `choose` after it (the dialog's part).
    template <typename Reader, typename Adjust, typename Choose>
    static void Run(Reader& reader, const std::string& path, Adjust adjust, Choose choose) {
        reader.path = QV_String(path.c_str(), Encoding_UTF8);
        // As the command does: the point tool's options (pen, a layer the dialog's check accepts).
        ImportOptionsRec options;
        options.SetDefaults();
        reader.SetImportOptions(options);
        adjust(reader);
        if (reader.Detect()) {
            choose(reader);
            reader.Read();
        }
        // As the command shows it.
        ShowReadReport(reader.report);
    }
    template <typename Reader, typename Adjust>
    static void Run(Reader& reader, const std::string& path, Adjust adjust) {
        Run(reader, path, adjust, [](Reader&) {});
    }
    template <typename Reader>
    static void Run(Reader& reader, const std::string& path) {
        Run(reader, path, [](Reader&) {});
    }
    // Texts of the alerts shown so far.
    static std::vector<std::string> Alerts() {
        std::vector<std::string> texts;
        for (const DGDriver::LogRecord& record : DGDriver::Log())
            if (record.kind == "alert") texts.push_back(record.texts.empty() ? "" : record.texts[0]);
        return texts;
    }
    // Details of the alerts shown so far (the reason beneath an error).
    static std::vector<std::string> AlertDetails() {
        std::vector<std::string> texts;
        for (const DGDriver::LogRecord& record : DGDriver::Log())
            if (record.kind == "alert") texts.push_back(record.texts.size() < 2 ? "" : record.texts[1]);
        return texts;
    }
    static bool ShowedReadError() {
        for (const std::string& text : Alerts())
            if (text.find("Error while reading the file.") != std::string::npos) return true;
        return false;
    }
};
