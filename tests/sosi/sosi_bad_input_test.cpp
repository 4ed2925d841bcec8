// The SOSI reader on bad input: mutated real files, binary and UTF-16 text, oversized and missing files,
// objects without coordinates, references to missing ids. A clear error or a skipped object, never a crash.
#include "SosiFixture.hpp"

#include "../robustness/Mutator.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace sosi_bad_input_test {

TEST_F(SosiReaderTest, MutatedFilesReadAndImportWithoutFault) {
    const std::vector<std::string> tokens = {
        ".HODE",       ".SLUTT",     ".KURVE 1:", ".FLATE 2:", "..REF :1 (:99999",           "..N\xC3\x98H",
        "..N\xC3\x98", "...ENHET 0", "\r",        "\n",        "99999999999999999999 1e308", ":",
        "(",           ")",          "\xFF\xFE",  "\0"};
    for (const char* name : {"kurvetest.sos", "flatetest.sos", "buer.sos", "testfile1.sos", "fastmerke.sos"}) {
        const std::string original = Slurp(SosiData(name));
        const std::string label = name;
        Robustness::Mutator mutator(20 + uint32_t(label.size()));
        for (int i = 0; i < 60; ++i) {
            SCOPED_TRACE(label + " mutant " + std::to_string(i));
            const std::string bytes = i % 20 == 19 ? mutator.RandomBytes(4000) : mutator.Mutate(original, tokens, 6);
            SOSIFileCls reader;
            // A mutant may be refused, never without its reason.
            if (!ReadFiles(reader, {Write("mutant.sos", bytes)})) {
                EXPECT_TRUE(reader.scan.report.error != 0 || reader.scan.report.HasIssues());
                continue;
            }
            reader.importMode = i % 3;
            ImportAll(reader);
            reader.ComputeExtents();
            for (const SOSIData& d : reader.assembly.data) {  // every kept object can give its first point
                if (d.geometryKind != SOSIKindSurface) {
                    ASSERT_GT(d.coords.GetCount(), 0);
                }
            }
        }
    }
}

TEST_F(SosiReaderTest, EmptyAndMarkOnlyFilesGiveNoLines) {
    for (const std::string& bytes : {std::string(), std::string("\xEF\xBB\xBF"), std::string("\xFF\xFE"),
                                     std::string("\xFF\xFE\x00\x00"), std::string(1, '\0')}) {
        SOSIFileCls reader;
        // Refused as holding nothing to read (they were read in silence before).
        EXPECT_FALSE(ReadFiles(reader, {Write("empty.sos", bytes)}));
        EXPECT_EQ(reader.scan.report.Count(ReadIssue::Empty), 1u);
        EXPECT_EQ(reader.scan.files[0].lines.GetCount(), 0);
        EXPECT_EQ(reader.scan.files[0].objects.GetCount(), 0);
    }
}

TEST_F(SosiReaderTest, UnreadableFilesEndTheReadWithAnError) {
    const std::string good = SosiData("kurvetest.sos");
    const std::string huge = UserFile("huge.sos");
    {
        std::ofstream(huge, std::ios::binary) << ".HODE\n";
        std::filesystem::resize_file(huge, uint64_t(1) << 30);  // sparse: no disk used
    }
    for (const std::string& bad : {UserFile("missing.sos"), huge}) {
        SCOPED_TRACE(bad);
        SOSIFileCls reader;
        EXPECT_FALSE(ReadFiles(reader, {good, bad, good}, false));
        EXPECT_TRUE(ShowedReadError());
        // The file too large for the reader says so.
        EXPECT_EQ(reader.scan.report.Count(ReadIssue::FileTooLarge), bad == huge ? 1u : 0u);
        // The file before keeps its lines; the one after is never read.
        EXPECT_GT(reader.scan.files[0].lines.GetCount(), 0);
        EXPECT_EQ(reader.scan.files[2].lines.GetCount(), 0);
    }
    std::filesystem::remove(huge);
}

TEST_F(SosiReaderTest, ObjectsWithoutCoordinatesOrTargetsAreSkipped) {
    const std::string text = Sosi(".PUNKT 1:\n..OBJTYPE A\n.KURVE 2:\n..OBJTYPE A\n..N\xC3\x98\n"
                                  ".TEKST 3:\n..OBJTYPE A\n..STRENG x\n"
                                  ".FLATE 4:\n..OBJTYPE A\n..REF :77 :-78\n(:79)\n..N\xC3\x98\n1 1\n"
                                  ".KURVE 5:\n..OBJTYPE A\n..N\xC3\x98\n1 1\n2 2\n");
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("empty.sos", text)}));
    ImportAll(reader);
    std::vector<std::string> kept;
    for (const SOSIData& d : reader.assembly.data) kept.push_back(Str(d.id));
    EXPECT_EQ(kept, (std::vector<std::string>{"4", "5"}));
    EXPECT_EQ(reader.assembly.data[0].pieces.GetCount(), 0);
}

// Answers "stop" from its `after`th step on; counts the steps it saw.
class StoppingProgress : public ReaderProgress {
public:
    explicit StoppingProgress(int after) : left_(after) {}
    bool Step(uint32_t) override {
        ++steps;
        return --left_ < 0;
    }
    int steps = 0;

private:
    int left_;
};

// The user's stop at any step of the files' read or of the objects' read: that read ends with nothing read and
// nothing to tell, as a cancel does.
TEST_F(SosiReaderTest, AStopEndsTheReadQuietly) {
    const std::string file = SosiData("1001_Hoyde.sos");
    StoppingProgress never(1 << 30);
    SOSIFileCls whole;
    whole.SetProgress(&never);
    ASSERT_TRUE(ReadFiles(whole, {file}));
    const int scanSteps = never.steps;
    ImportAll(whole);
    const int objectSteps = never.steps - scanSteps;
    ASSERT_GT(objectSteps, 2);
    for (int after : {0, 1, scanSteps / 2, scanSteps - 1, scanSteps, scanSteps + 1, scanSteps + objectSteps / 2,
                      scanSteps + objectSteps - 1}) {
        SCOPED_TRACE(after);
        DGDriver::ClearQueueAndLog();
        StoppingProgress stop(after);
        SOSIFileCls reader;
        reader.SetProgress(&stop);
        const bool read = ReadFiles(reader, {file}, false);
        EXPECT_EQ(read, after >= scanSteps);
        if (!read) {
            EXPECT_TRUE(reader.scan.stopped);
            EXPECT_EQ(reader.scan.report.error, 0);
            EXPECT_FALSE(reader.scan.report.HasIssues());
        } else {
            ImportAll(reader);
            EXPECT_TRUE(reader.assembly.stopped);
            EXPECT_EQ(reader.assembly.data.GetCount(), 0);
            EXPECT_FALSE(reader.assembly.issues.HasIssues());
        }
        EXPECT_TRUE(Alerts().empty());
    }
}

}  // namespace sosi_bad_input_test
